// Plays the game's web page in headless Chromium as a player does: it loads, starts on a click,
// shows the overlay and the start view as the desktop game does, rolls the figure with the arrow
// keys, turns the view with the pointer, plays the music, keeps the page still and logs no error.
// Usage: node page-test.mjs <dist folder> <source folder> [folder for the page's screenshots];
// its last line is "N passed, N failed".
import path from 'node:path';
import {Devices} from './devices.mjs';
import {AwaitShot, Changed, Check, Compare, Deadline, Decode, LevelLine, Launch, Matches, Scene,
        Serve, SnowLine, WaitFor, results} from './support.mjs';

const [dist, source, shots] = process.argv.slice(2);
const Report = () => {
  console.log(`${results.passed} passed, ${results.failed} failed`);
  process.exitCode = results.failed === 0 ? 0 : 1;
};

async function PlayPage(url) {
  const [browser, page] = await Launch();
  const errors = [];
  page.on('console', message => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', error => errors.push(error.message));
  // The browser's mixer decodes the music with Web Audio and plays it from a buffer.
  await page.evaluateOnNewDocument(() => {
    window.soundsStarted = [];
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...when) {
      window.soundsStarted.push(this);
      return start.apply(this, when);
    };
  });
  await page.setViewport({width: 640, height: 480}); // the picture at the game's own size
  await page.goto(url);
  const ready = await page.waitForSelector('#cover.ready', {timeout: Deadline}).catch(() => null);
  Check(ready, 'the page loads its data and offers to start');
  if (!ready) return browser.close();
  const box = await (await page.$('#canvas')).boundingBox();
  const scrolls = await page.evaluate(() => document.documentElement.scrollHeight > innerHeight);
  for (const key of ['ArrowDown', 'Space']) await page.keyboard.press(key);
  Check(await page.evaluate(() => soundsStarted.length === 0), 'no music before the click');
  // The click gives the pointer its first position, at the centre: the view does not turn.
  await page.mouse.click(box.x + 320, box.y + 240);

  const overlay = Decode(path.join(source, 'tests/reference/overlay-level-1.png'));
  let start = null;
  const rests = await AwaitShot(page, shot => {
    const still = start && Changed(shot, start, Scene) < 0.01 && Matches(shot, overlay, LevelLine);
    start = shot;
    return still;
  });
  Check(rests, 'with the pointer at the centre the view comes to rest');
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

  await page.mouse.move(box.x + 600, box.y + 240);
  const turned = await AwaitShot(page, shot => Changed(shot, start, Scene) > 0.08);
  await page.mouse.move(box.x + 320, box.y + 240);
  Check(turned, 'the pointer turns the view');

  // Rolling forward and to the left, the figure gathers the snow in its way.
  for (const key of ['ArrowUp', 'ArrowLeft']) await page.keyboard.down(key);
  const steered = await AwaitShot(page, shot => Changed(shot, turned || start, Scene) > 0.2 &&
                                                !Matches(shot, overlay, SnowLine));
  for (const key of ['ArrowUp', 'ArrowLeft']) await page.keyboard.up(key);
  if (shots) await page.screenshot({path: path.join(shots, 'page-steered.png')});
  Check(steered, 'the arrow keys roll the figure and it gathers snow');
  Check(scrolls && await page.evaluate(() => scrollY === 0),
        'the arrow keys and space leave the page where it is');
  Check(errors.length === 0, 'no error in the console', errors.slice(0, 3).join(' | '));
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
Report();
