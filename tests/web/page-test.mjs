// Plays the game's web page in headless Chromium as a player does: it loads compressed, says why a
// download failed and tries again, starts on a click, shows the overlay and the start view as the
// desktop game does, rolls the figure with the arrow keys, turns the view with the pointer, plays
// the music and rests it while the tab is hidden, keeps the page still and its title, logs no
// error, and says so when the browser takes its picture away.
// Usage: node page-test.mjs <dist folder> <source folder> [folder for the page's screenshots];
// its last line is "N passed, N failed".
import path from 'node:path';
import {Devices} from './devices.mjs';
import {AwaitShot, Check, Compare, Deadline, Decode, LevelLine, Launch, Matches, Rest,
        Scene, Serve, SnowLine, WaitFor, results} from './support.mjs';

const [dist, source, shots] = process.argv.slice(2);

const Ready = page => page.waitForSelector('#cover.ready', {timeout: Deadline}).catch(() => null);

// Waits for the page to offer a retry and takes it; the message that came with it, or nothing.
async function Retry(page) {
  const button = await page.waitForSelector('#retry:not([hidden])', {timeout: Deadline})
                     .catch(() => null);
  const text = await page.$eval('#status', status => status.textContent);
  await button?.click();
  return button ? text : '';
}

async function PlayPage(url) {
  const [browser, page] = await Launch();
  const errors = [];
  // The one download the test breaks is the only one the browser may report.
  page.on('console', message => message.type() === 'error' &&
                                !/ERR_FAILED/.test(message.text()) && errors.push(message.text()));
  page.on('pageerror', error => errors.push(error.message));
  // The browser's mixer decodes the music with Web Audio and plays it from a buffer.
  await page.evaluateOnNewDocument(() => {
    window.soundsStarted = [];
    for (const [name, note] of [['start', sound => soundsStarted.push(sound)],
                                ['stop', sound => sound.stopped = true]]) {
      const original = AudioBufferSourceNode.prototype[name];
      AudioBufferSourceNode.prototype[name] = function (...when) {
        note(this);
        return original.apply(this, when);
      };
    }
  });
  await page.setRequestInterception(true);
  let broken = false;
  page.on('request', request => broken || !request.url().endsWith('.data')
                                    ? request.continue() : (broken = true, request.abort('failed')));
  await page.setViewport({width: 640, height: 480}); // the picture at the game's own size
  await page.goto(url);
  const told = await Retry(page);
  const ready = await Ready(page);
  Check(/did not arrive/.test(told) && ready,
        'a failed download is told with a retry, which loads the data and offers to start', told);
  Check(await page.evaluate(() => performance.getEntriesByType('resource').every(
            file => !/\.(js|wasm)$/.test(file.name) || file.encodedBodySize < file.decodedBodySize / 2)),
        'the code comes compressed');
  if (!ready) return browser.close();
  const box = await (await page.$('#canvas')).boundingBox();
  const scrolls = await page.evaluate(() => document.documentElement.scrollHeight > innerHeight);
  for (const key of ['ArrowDown', 'Space']) await page.keyboard.press(key);
  Check(await page.evaluate(() => soundsStarted.length === 0), 'no music before the click');
  // The click gives the pointer its first position, at the centre: the view does not turn.
  await page.mouse.click(box.x + 320, box.y + 240);

  const overlay = Decode(path.join(source, 'tests/reference/overlay-level-1.png'));
  const start = await AwaitShot(page, shot => Matches(shot, overlay, LevelLine)) &&
                await Rest(page);
  Check(start, 'with the pointer at the centre the view comes to rest');
  Check(await page.title() === 'Snowroll', 'the tab keeps the game\'s name', await page.title());
  Check(Matches(start, overlay, LevelLine) && Matches(start, overlay, SnowLine),
        'the overlay shows level 1 and 0.000000% as the desktop game does');
  // The browser's C library draws other random offsets of the trees and piles: colours only.
  const desktop = Decode(path.join(source, 'docs/screenshot-start.png'));
  const overlap = Compare(start, desktop, Scene).overlap;
  Check(overlap > 0.8, 'the start view has the desktop start view\'s colours',
        `colour overlap ${overlap}`);
  // The whole tune (106.7 s), on a running audio context whose clock moves.
  const playing = await WaitFor(() => page.evaluate(() => soundsStarted.some(
      sound => sound.buffer.duration > 100 && sound.context.state === 'running' &&
               sound.context.currentTime > 0)));
  Check(playing, 'the music plays after the click');
  await (await browser.newPage()).bringToFront();
  const rests = await WaitFor(() => page.evaluate(
      () => document.hidden && soundsStarted.every(sound => sound.stopped)));
  await page.bringToFront();
  Check(rests && await WaitFor(() => page.evaluate(() => soundsStarted.some(sound => !sound.stopped))),
        'the music rests while the tab is hidden and plays again after');


  // Each drive key reaches the game as its own key symbol, pressed and then released (the pad,
  // the thumbs and a foreign layout's keys roll the figure to the snow in devices.mjs).
  await page.evaluate(() => {
    // The runtime puts the export itself in place on its first call; a symbol below 0 is ignored.
    const queue = (Module._QueueKeyEvent(-1, 0), Module._QueueKeyEvent);
    window.queued = [];
    Module._QueueKeyEvent = (key, down) => (queued.push(`${key}:${down}`), queue(key, down));
  });
  for (const key of 'ArrowUp ArrowDown ArrowRight ArrowLeft KeyW KeyA KeyS KeyD'.split(' '))
    await page.keyboard.press(key);
  const queued = await page.evaluate(() => queued.join(' '));
  const symbols = [273, 274, 275, 276, 119, 97, 115, 100];
  Check(queued === symbols.map(key => `${key}:1 ${key}:0`).join(' '),
        'each drive key reaches the game as its own, pressed and released', queued);
  if (shots) await page.screenshot({path: path.join(shots, 'page-steered.png')});
  Check(scrolls && await page.evaluate(() => scrollY === 0),
        'the arrow keys and space leave the page where it is');
  Check(errors.length === 0, 'no error in the console', errors.slice(0, 3).join(' | '));

  await page.evaluate(() => Module.ctx.getExtension('WEBGL_lose_context').loseContext());
  const said = await Retry(page);
  Check(/picture/.test(said) && await Ready(page),
        'a lost picture is told, and trying again offers a new start', said);
  await browser.close();
}

// Without WebGL the page says so in words.
async function PageWithoutWebGl(url) {
  const [browser, page] = await Launch(['--disable-webgl', '--disable-3d-apis']);
  await page.goto(url);
  const text = await page.$eval('#status', status => status.textContent);
  Check(/needs WebGL/.test(text), 'a browser without WebGL gets a plain message', text);
  await browser.close();
}

const [server, url] = await Serve(dist);
try {
  await PlayPage(url);
  await PageWithoutWebGl(url);
  await Devices(url, shots, dist);
} catch (error) {
  Check(false, 'the page test ran to its end', error.message);
}
server.kill();
console.log(`${results.passed} passed, ${results.failed} failed`);
process.exitCode = results.failed === 0 ? 0 : 1;
