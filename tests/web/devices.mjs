// The page on other devices: a phone's two thumbs, a gamepad, keys by their place on a foreign
// layout, the pointer and focus leaving, fullscreen, small screens, and a second visit offline.
import path from 'node:path';
import {AwaitShot, Changed, Check, Deadline, Decode, Launch, LevelLine, Matches, Rest, Scene, Serve,
        Shot, SnowLine, WaitFor} from './support.mjs';

const Reference = Decode('tests/reference/overlay-level-1.png');
const Turned = async (page, from) => from && AwaitShot(page, frame => Changed(frame, from, Scene) > 0.08);
const Gathered = page => AwaitShot(page, frame => !Matches(frame, Reference, SnowLine));
const NoOverflow = page => page.evaluate(() => document.documentElement.scrollWidth <= innerWidth);
const Drag = async (page, [x, y], [toX, toY]) => { await page.touchscreen.touchStart(x, y); await page.touchscreen.touchMove(toX, toY); };
const Pad = (page, axes) => page.evaluate(axes => { fakePad = {connected: true, axes, buttons: []}; }, axes);
const closing = [];

async function Open(url, viewport) {
  const [browser, page] = await Launch();
  closing.push(browser);
  await page.evaluateOnNewDocument(() => { window.fakePad = null; navigator.getGamepads = () => [fakePad]; });
  await page.setViewport(viewport);
  await page.goto(url);
  return [page, await page.waitForSelector('#cover.ready', {timeout: Deadline}).catch(() => null)];
}

async function Phone(url, shots) {
  const [page, ready] = await Open(url, {width: 844, height: 390, hasTouch: true, isMobile: true});
  Check(ready && await NoOverflow(page), 'a phone held sideways loads the page without overflow');
  await ready?.tap();
  const start = await Rest(page);
  await Drag(page, [700, 200], [760, 170]);
  const turned = await Turned(page, start);
  await page.touchscreen.touchEnd();
  Check(turned && await Rest(page), 'a thumb\'s drag on the right turns the view, which rests when it lifts');
  await Drag(page, [90, 300], [50, 260]);
  const gathered = await Gathered(page);
  if (shots) await page.screenshot({path: path.join(shots, 'page-phone.png')});
  await page.touchscreen.touchEnd();
  Check(gathered && await page.$eval('#roll-pad', pad => getComputedStyle(pad).display !== 'none'),
        'the touch controls show, and a thumb\'s drag on the left rolls the figure to the snow');
  Check(await page.evaluate(() => scrollX === 0 && scrollY === 0), 'dragging does not move the page');
  await page.setViewport({width: 390, height: 844, hasTouch: true, isMobile: true});
  Check(await NoOverflow(page), 'an upright phone shows the whole picture without overflow');
}

// On a host of its own, which goes away for the visit without a network.
async function Desktop(dist) {
  const [server, url] = await Serve(dist);
  closing.push({close: () => server.kill()});
  const [page] = await Open(url, {width: 800, height: 520});
  for (let k = 0; k < 5 && !await page.$('#play:focus'); ++k) await page.keyboard.press('Tab');
  await page.keyboard.press('Enter');
  const box = await (await page.$('#canvas')).boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const start = await Rest(page);
  Check(start && Matches(start, Reference, LevelLine),
        'the keyboard starts the game; the pointer at a larger picture\'s centre leaves the view at rest');
  await Pad(page, [-0.7, -0.7, 0, 0]);
  Check(start && await Gathered(page), 'a gamepad plugged in while playing rolls the figure to the snow');
  await Pad(page, [0, 0, 0, 0]);
  const still = await Rest(page);
  await Pad(page, [0, 0, 0.9, 0]);
  const looked = await Turned(page, still);
  await Pad(page, [0, 0, 0, 0]);
  Check(looked && await Rest(page), 'the right stick turns the view, which rests when let go');
  await page.mouse.move(box.x + box.width - 4, box.y + box.height / 2);
  const spun = await Turned(page, await Shot(page));
  await page.mouse.move(box.x + box.width + 20, box.y + box.height / 2);
  Check(spun && await Rest(page), 'the pointer leaving the picture lets the view rest');
  const key = {code: 'KeyW', key: 'z', text: 'z', windowsVirtualKeyCode: 90}; // W's place on AZERTY
  const Press = async type => (await page.target().createCDPSession()).send('Input.dispatchKeyEvent', {type, ...key});
  await Press('keyDown');
  const rolled = await Turned(page, await Shot(page));
  await page.evaluate(() => window.dispatchEvent(new Event('blur')));
  Check(rolled && await Rest(page), 'the key in W\'s place steers on AZERTY, and losing focus stops the figure');
  await Press('keyUp');
  await page.focus('#canvas');
  await page.keyboard.press('Tab');
  Check(await page.evaluate(() => !['canvas', ''].includes(document.activeElement.id)), 'Tab leaves the game');
  const Full = wanted => page.click('#fullscreen').then(() => WaitFor(() => page.evaluate(
      wanted => Boolean(document.fullscreenElement) === wanted, wanted)));
  Check(await Full(true) && await Full(false), 'fullscreen is entered and left');
  await Offline(page, server);
}

// Once the game has run its files are kept: with no network at all, the page comes back and starts.
async function Offline(page, server) {
  const kept = await WaitFor(() => page.evaluate(async () => (await Promise.all([location.href,
      ...performance.getEntriesByType('resource').map(entry => entry.name)].map(file => caches.match(file)))).every(Boolean)));
  server.kill();
  await page.setOfflineMode(true);
  await page.reload();
  await (await page.waitForSelector('#cover.ready', {timeout: Deadline}).catch(() => null))?.click();
  const started = await AwaitShot(page, frame => Matches(frame, Reference, LevelLine));
  const offline = await page.evaluate(() => fetch('never-kept').then(() => false, () => true));
  Check(kept && started && offline, 'a second visit with no network starts the game from the kept files',
        `kept ${kept}, started ${Boolean(started)}, offline ${offline}`);
}

export async function Devices(url, shots, dist) {
  await Phone(url, shots).then(() => Desktop(dist)).finally(() => Promise.all(closing.map(open => open.close())));
}
