// Measures the web page in headless Chromium as a new player on a phone's line meets it: served by
// the game's own host, with the network throttled to Lighthouse's mobile figures (150 ms round
// trip, 1.6 Mbit/s down, 750 kbit/s up) and the cache off, clicking as soon as the page offers to
// start. Prints the time to "Ready", from the click to the first picture, from opening to the first
// picture, the bytes transferred before it, when the music starts, and the frames per second on
// the start view of level 1 at rest. Usage: node measure-web-page.mjs <dist> [seconds]
import {spawn} from 'node:child_process';
import {once} from 'node:events';
import {createRequire} from 'node:module';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const [dist, seconds = '10'] = process.argv.slice(2);
const Phone = {offline: false, latency: 150, downloadThroughput: 1.6e6 / 8,
               uploadThroughput: 750e3 / 8};

const host = spawn(new URL('serve-web', import.meta.url).pathname, [dist, '0'],
                   {stdio: ['ignore', 'pipe', 'inherit']});
const [banner] = await once(host.stdout, 'data');
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: [...(process.getuid() === 0 ? ['--no-sandbox'] : []), '--use-gl=angle',
         '--use-angle=swiftshader', '--enable-unsafe-swiftshader']});
const page = await browser.newPage();
await page.setViewport({width: 800, height: 600});
const network = await page.target().createCDPSession();
await network.send('Network.enable');
await network.send('Network.setCacheDisabled', {cacheDisabled: true});
await network.send('Network.emulateNetworkConditions', Phone);
// Counts the page's frames (the game draws one in each animation frame) and notes when the page
// says "Ready" and when a sound first starts.
await page.evaluateOnNewDocument(() => {
  new MutationObserver(() => {
    window.readyAt = window.readyAt || (document.querySelector('#cover.ready') && performance.now());
  }).observe(document, {subtree: true, childList: true, attributes: true});
  window.frames = 0;
  const count = () => { ++window.frames; requestAnimationFrame(count); };
  requestAnimationFrame(count);
  const start = AudioBufferSourceNode.prototype.start;
  AudioBufferSourceNode.prototype.start = function (...when) {
    window.musicStarted = window.musicStarted || performance.now();
    return start.apply(this, when);
  };
});
await page.goto(`http://127.0.0.1:${/port (\d+)/.exec(banner)[1]}/`);
const ready = await (await page.waitForFunction(() => window.readyAt, {timeout: 120000}))
    .jsonValue();
const box = await (await page.$('#canvas')).boundingBox();
const clicked = await page.evaluate(() => performance.now());
await page.mouse.click(box.x + 320, box.y + 240);
// The first picture is shown in the animation frame after the game's first frame.
const firstPicture = await page.evaluate(() => new Promise(resolve => {
  const wait = () => Browser.mainLoop.currentFrameNumber > 0 ? resolve(performance.now())
                                                            : requestAnimationFrame(wait);
  wait();
}));
// Everything that had arrived whole by then, the page itself included.
const bytes = await page.evaluate(end => performance.getEntries()
    .filter(entry => entry.transferSize && entry.responseEnd <= end)
    .reduce((sum, entry) => sum + entry.transferSize, 0), firstPicture);
await page.waitForFunction(() => Browser.mainLoop.currentFrameNumber > 300, {timeout: 120000});
const music = await (await page.waitForFunction(() => window.musicStarted, {timeout: 120000}))
    .jsonValue().catch(() => null);
const count = () => page.evaluate(() => [window.frames, performance.now()]);
const [framesBefore, before] = await count();
await new Promise(resolve => setTimeout(resolve, Number(seconds) * 1000));
const [framesAfter, after] = await count();
console.log(`phone line: opened to "Ready": ${Math.round(ready)} ms`);
console.log(`phone line: click to first picture: ${Math.round(firstPicture - clicked)} ms`);
console.log(`phone line: opened to first picture: ${Math.round(firstPicture)} ms`);
console.log(`phone line: transferred before the first picture: ${Math.round(bytes / 1024)} kB`);
console.log(`phone line: music starts ${music ? Math.round(music - firstPicture) + ' ms' : 'never'} after the first picture`);
console.log(`page, world from buffers: ${((framesAfter - framesBefore) * 1000 / (after - before)).toFixed(1)} fps`);
await browser.close();
host.kill();
