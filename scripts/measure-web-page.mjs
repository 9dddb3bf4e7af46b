// Measures the web page in headless Chromium: how long until it can start, how long from the
// click to the first picture, and its frames per second on the start view of level 1 at rest.
// Run by scripts/measure-web; it serves the page itself. Usage: node measure-web-page.mjs <dist>
import fs from 'node:fs';
import http from 'node:http';
import {createRequire} from 'node:module';
import path from 'node:path';

const require = createRequire(new URL('../tests/web/package.json', import.meta.url));
const puppeteer = require('puppeteer-core');
const [dist, seconds = '10'] = process.argv.slice(2);
const types = {'.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm'};

const server = http.createServer((request, response) => {
  let name = new URL(request.url, 'http://host').pathname;
  if (name.endsWith('/')) name += 'index.html';
  const file = path.join(dist, name);
  fs.readFile(file, (error, data) => {
    response.writeHead(error ? 404 : 200,
                       {'Content-Type': types[path.extname(file)] || 'application/octet-stream'});
    response.end(error ? '' : data);
  });
});
await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
const browser = await puppeteer.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
  args: [...(process.getuid() === 0 ? ['--no-sandbox'] : []), '--use-gl=angle',
         '--use-angle=swiftshader', '--enable-unsafe-swiftshader']});
const page = await browser.newPage();
await page.setViewport({width: 800, height: 600});
// Counts the page's frames: the game draws one in each animation frame.
await page.evaluateOnNewDocument(() => {
  window.frames = 0;
  const count = () => { ++window.frames; requestAnimationFrame(count); };
  requestAnimationFrame(count);
});
const opened = Date.now();
await page.goto(`http://127.0.0.1:${server.address().port}/`);
await page.waitForSelector('#cover.ready', {timeout: 60000});
const ready = Date.now() - opened;
const box = await (await page.$('#canvas')).boundingBox();
const clicked = await page.evaluate(() => performance.now());
await page.mouse.click(box.x + 320, box.y + 240);
// The first picture is shown in the animation frame after the game's first frame.
const firstPicture = await page.evaluate(() => new Promise(resolve => {
  const wait = () => Browser.mainLoop.currentFrameNumber > 0 ? resolve(performance.now())
                                                            : requestAnimationFrame(wait);
  wait();
}));
await page.waitForFunction(() => Browser.mainLoop.currentFrameNumber > 300, {timeout: 120000});
const count = () => page.evaluate(() => [window.frames, performance.now()]);
const [framesBefore, before] = await count();
await new Promise(resolve => setTimeout(resolve, Number(seconds) * 1000));
const [framesAfter, after] = await count();
console.log(`page opened to ready to start: ${ready} ms`);
console.log(`click to first picture: ${Math.round(firstPicture - clicked)} ms`);
console.log(`page, world from buffers: ${((framesAfter - framesBefore) * 1000 / (after - before)).toFixed(1)} fps`);
await browser.close();
server.close();
