// Plays the game's web page in headless Chromium as a player does: it loads, starts on a click,
// shows the overlay and the start view as the desktop game does, rolls the figure with the arrow
// keys, turns the view with the pointer, plays the music, keeps the page still and logs no error.
// Usage: node page-test.mjs <dist folder> <source folder> [folder for the page's screenshots];
// its last line is "N passed, N failed".
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const [dist, source, shots] = process.argv.slice(2);
// Software WebGL on a busy machine is as slow as the sanitizers: the generous deadline is theirs.
const Deadline = 60000;
const ChannelTolerance = 40; // the desktop pixel tests' tolerance
const DifferingShareTolerance = 0.003;
const Overlay = {level: [0, 20, 406, 44], snow: [0, 64, 406, 22]};
const Scene = [0, 90, 640, 390]; // below the overlay
const Centre = [320, 240];
const results = {passed: 0, failed: 0};

function Check(ok, name, detail = '') {
  results[ok ? 'passed' : 'failed']++;
  console.log(`${ok ? 'ok' : 'not ok'} - ${name}${ok || !detail ? '' : ': ' + detail}`);
}

// The page from dist/, the desktop's pictures under /source/.
function Serve() {
  const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm',
                 '.png': 'image/png'};
  const server = http.createServer((request, response) => {
    let name = decodeURIComponent(new URL(request.url, 'http://host').pathname);
    if (name.endsWith('/')) name += 'index.html';
    const file = name.startsWith('/source/') ? path.join(source, name.slice(8))
                                              : path.join(dist, name);
    fs.readFile(file, (error, data) => {
      response.writeHead(error ? 404 : 200,
                         {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
      response.end(error ? '' : data);
    });
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => resolve(server)));
}

function Launch(extra = []) {
  const sandbox = process.getuid && process.getuid() === 0 ? ['--no-sandbox'] : [];
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: [...sandbox, '--use-gl=angle', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           ...extra]});
}

const Pause = millis => new Promise(resolve => setTimeout(resolve, millis));

// Polls `probe` until it gives a true value; the value, or null at the deadline.
async function WaitFor(probe) {
  for (const end = Date.now() + Deadline; Date.now() < end; await Pause(200)) {
    const value = await probe();
    if (value) return value;
  }
  return null;
}

// The RGBA pixels of a PNG, decoded by the page itself.
function Decode(page, url) {
  return page.evaluate(async url => {
    const image = new Image();
    image.src = url;
    await image.decode();
    const canvas = Object.assign(document.createElement('canvas'),
                                 {width: image.width, height: image.height});
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, image.width, image.height).data;
    let text = '';
    for (let at = 0; at < bytes.length; at += 0x8000) {
      text += String.fromCharCode.apply(null, bytes.subarray(at, at + 0x8000));
    }
    return {width: image.width, data: btoa(text)};
  }, url).then(picture => ({width: picture.width, data: Buffer.from(picture.data, 'base64')}));
}

async function Shot(page) {
  const box = await (await page.$('#canvas')).boundingBox();
  const png = await page.screenshot({encoding: 'base64', clip: {...box, width: 640, height: 480}});
  return Decode(page, 'data:image/png;base64,' + png);
}

// The share of pixels of the rectangle that differ by more than the channel tolerance.
function ChangedShare(a, b, [x, y, width, height]) {
  let differing = 0;
  for (let row = y; row < y + height; ++row) {
    for (let column = x; column < x + width; ++column) {
      const at = (row * a.width + column) * 4;
      if ([0, 1, 2].some(k => Math.abs(a.data[at + k] - b.data[at + k]) > ChannelTolerance)) {
        ++differing;
      }
    }
  }
  return differing / (width * height);
}

const Matches = (a, b, rect) => ChangedShare(a, b, rect) <= DifferingShareTolerance;

// How alike the colours of two scenes are: the overlap of their histograms of coarse colours.
function ColourOverlap(a, b, [x, y, width, height]) {
  const histogram = picture => {
    const counts = new Map();
    for (let row = y; row < y + height; ++row) {
      for (let column = x; column < x + width; ++column) {
        const at = (row * picture.width + column) * 4;
        const key = [0, 1, 2].map(k => picture.data[at + k] >> 5).join();
        counts.set(key, (counts.get(key) || 0) + 1);
      }
    }
    return counts;
  };
  const first = histogram(a);
  let shared = 0;
  for (const [key, count] of histogram(b)) shared += Math.min(count, first.get(key) || 0);
  return shared / (width * height);
}

async function PlayPage(url) {
  const browser = await Launch();
  const page = await browser.newPage();
  const errors = [];
  page.on('console', message => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', error => errors.push(error.message));
  await page.evaluateOnNewDocument(() => {
    window.soundsStarted = [];
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...when) {
      window.soundsStarted.push(this);
      return start.apply(this, when);
    };
  });
  await page.setViewport({width: 800, height: 520});
  const started = Date.now();
  await page.goto(url);
  const ready = await page.waitForSelector('#cover.ready', {timeout: Deadline}).catch(() => null);
  Check(ready, 'the page loads its data and offers to start');
  if (!ready) return browser.close();
  const box = await (await page.$('#canvas')).boundingBox();
  const scrolls = await page.evaluate(() => document.documentElement.scrollHeight > innerHeight);
  for (const key of ['ArrowDown', 'Space']) await page.keyboard.press(key);
  Check(await page.evaluate(() => soundsStarted.length === 0), 'no music before the click');
  await page.mouse.click(box.x + Centre[0], box.y + Centre[1]);

  const overlay = await Decode(page, '/source/tests/reference/overlay-level-1.png');
  const desktop = await Decode(page, '/source/docs/screenshot-start.png');
  let start = await Shot(page);
  const rests = await WaitFor(async () => {
    const later = await Shot(page);
    const still = ChangedShare(later, start, Scene) < 0.01 && Matches(later, overlay, Overlay.level);
    start = later;
    return still;
  });
  console.log(`# first picture at rest ${Date.now() - started} ms after the page was opened`);
  Check(rests, 'with the pointer where the click was, at the centre, the view comes to rest');
  Check(Matches(start, overlay, Overlay.level) && Matches(start, overlay, Overlay.snow),
        'the overlay shows level 1 and 0.000000% as the desktop game does');
  const overlap = ColourOverlap(start, desktop, Scene);
  console.log(`# colour overlap with the desktop start view ${overlap.toFixed(3)}`);
  Check(overlap > 0.8, 'the start view has the desktop start view\'s colours',
        `colour overlap ${overlap.toFixed(3)}`);
  // The browser's mixer decodes the music with Web Audio and plays it from a buffer: the whole
  // tune (106.7 s), on a running audio context whose clock moves.
  const playing = await WaitFor(() => page.evaluate(() => soundsStarted.some(
      sound => sound.buffer.duration > 100 && sound.context.state === 'running' &&
               sound.context.currentTime > 0)));
  Check(playing, 'the music plays after the click');

  await page.mouse.move(box.x + 600, box.y + Centre[1]);
  await Pause(2000);
  await page.mouse.move(box.x + Centre[0], box.y + Centre[1]);
  const turned = await Shot(page);
  const turnedShare = ChangedShare(turned, start, Scene);
  Check(turnedShare > 0.08, 'the pointer turns the view', `${turnedShare} changed`);

  // Rolling forward and to the left, the figure gathers the snow in its way.
  for (const key of ['ArrowUp', 'ArrowLeft']) await page.keyboard.down(key);
  const steered = await WaitFor(async () => {
    const shot = await Shot(page);
    const moved = ChangedShare(shot, turned, Scene) > 0.2 && !Matches(shot, overlay, Overlay.snow);
    return moved && shot;
  });
  for (const key of ['ArrowUp', 'ArrowLeft']) await page.keyboard.up(key);
  if (shots) await page.screenshot({path: path.join(shots, 'page-steered.png')});
  Check(steered, 'the arrow keys roll the figure and it gathers snow');
  Check(steered && Matches(steered, overlay, Overlay.level), 'still on level 1');
  Check(scrolls && await page.evaluate(() => scrollY === 0),
        'the arrow keys and space leave the page where it is');
  Check(errors.length === 0, 'no error in the console', errors.slice(0, 3).join(' | '));
  await browser.close();
}

// Without WebGL the page says so in words.
async function PageWithoutWebGl(url) {
  const browser = await Launch(['--disable-webgl', '--disable-3d-apis']);
  const page = await browser.newPage();
  await page.goto(url);
  const text = await page.$eval('#status', status => status.textContent);
  Check(/needs WebGL/.test(text), 'a browser without WebGL gets a plain message', text);
  await browser.close();
}

const server = await Serve();
const url = `http://127.0.0.1:${server.address().port}/`;
try {
  await PlayPage(url);
  await PageWithoutWebGl(url);
} catch (error) {
  Check(false, 'the page test ran to its end', error.message);
}
server.close();
console.log(`${results.passed} passed, ${results.failed} failed`);
process.exitCode = results.failed === 0 ? 0 : 1;
