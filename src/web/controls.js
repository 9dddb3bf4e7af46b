// The page's controls around the game: keys by their place on the keyboard, two thumbs on a
// touch screen, gamepads, the pointer at any picture size, focus, fullscreen, and keeping the
// page's files for visits without a network.
(function () {
  "use strict";
  const FrameWidth = 640; // the game's own frame, whatever size the picture is shown at
  const FrameHeight = 480;
  const Up = 273; // the game's key symbols
  const Down = 274;
  const Right = 275;
  const Left = 276;
  const KeySymbols = {ArrowUp: Up, ArrowDown: Down, ArrowRight: Right, ArrowLeft: Left,
                      KeyW: 119, KeyA: 97, KeyS: 115, KeyD: 100};
  const DeadZone = 0.3;    // share of a stick's (or a thumb's) reach that does nothing
  const RollReach = 50;    // CSS pixels of a rolling thumb's drag that count as a full push
  const LookReach = 80;    // CSS pixels of a looking thumb's drag that reach the frame's edge
  const PadLeftX = 0;      // the standard mapping's axes and buttons
  const PadLeftY = 1;
  const PadRightX = 2;
  const PadRightY = 3;
  const PadButtons = {12: [0, -1], 13: [0, 1], 14: [-1, 0], 15: [1, 0]}; // the d-pad
  const WorkerScript = "service-worker.js";

  const canvas = document.getElementById("canvas");
  const stage = document.getElementById("stage");
  const holders = {}; // what each source (a key, a thumb, the pads) holds down
  const held = {};    // the symbols the game has been told are down
  const thumbs = {};  // touches by identifier: their role and where they landed
  let padLooking = false;
  let started = false;

  function Playing() {
    return Boolean(window.Module && Module.calledRun && Module._QueueKeyEvent);
  }

  // Sets what `source` holds down and tells the game of every symbol that changes as a result.
  function Hold(source, symbols) {
    holders[source] = symbols;
    const wanted = {};
    for (const name in holders) for (const symbol of holders[name]) wanted[symbol] = true;
    for (const symbol in held) {
      if (!wanted[symbol]) { delete held[symbol]; Module._QueueKeyEvent(Number(symbol), 0); }
    }
    for (const symbol in wanted) {
      if (!held[symbol]) { held[symbol] = true; Module._QueueKeyEvent(Number(symbol), 1); }
    }
  }

  // The keys of the nearest of the eight directions the keys give; none inside the dead zone.
  function Steer(x, y) {
    if (Math.hypot(x, y) < DeadZone) return [];
    const angle = Math.round(Math.atan2(y, x) / (Math.PI / 4)) * (Math.PI / 4);
    const keys = [];
    if (Math.cos(angle) > 0.5) keys.push(Right);
    if (Math.cos(angle) < -0.5) keys.push(Left);
    if (Math.sin(angle) > 0.5) keys.push(Down);
    if (Math.sin(angle) < -0.5) keys.push(Up);
    return keys;
  }

  function PointAt(x, y) {
    if (Playing()) Module._PlacePointer(Math.round(x), Math.round(y));
  }

  // The pointer at `offset` (-1 to 1 each way) from the frame's centre.
  function PointOffset(x, y) {
    PointAt(FrameWidth / 2 * (1 + x), FrameHeight / 2 * (1 + y));
  }

  // Lets go of everything: held keys, thumbs, and the pointer back at the centre.
  function LetGo() {
    if (!Playing()) return;
    for (const source in holders) Hold(source, []);
    for (const id in thumbs) delete thumbs[id];
    ShowThumbs();
    PointOffset(0, 0);
  }

  function OnKey(event) {
    const symbol = KeySymbols[event.code];
    if (!Playing() || symbol === undefined) return;
    const down = event.type === "keydown";
    if (down && (event.ctrlKey || event.altKey || event.metaKey)) return;
    event.preventDefault();
    Hold("key " + event.code, down ? [symbol] : []);
  }

  // The mouse reaches the game here, mapped into the frame; the browser's SDL never sees it.
  function OnMouse(event) {
    if (event.target !== canvas) return;
    event.stopPropagation();
    if (event.type !== "mousemove") return;
    const box = canvas.getBoundingClientRect();
    PointAt((event.clientX - box.left) * FrameWidth / box.width,
            (event.clientY - box.top) * FrameHeight / box.height);
  }

  // The left half of the screen rolls the figure, the right half turns the view; each thumb
  // measures its drag from where it landed.
  function OnTouch(event) {
    if (!Playing() || (event.target.closest && event.target.closest("button, a, #cover"))) return;
    event.preventDefault();
    event.stopPropagation();
    document.body.classList.add("touched");
    for (const touch of event.changedTouches) {
      if (event.type === "touchstart") {
        thumbs[touch.identifier] = {roll: touch.clientX < innerWidth / 2,
                                    x: touch.clientX, y: touch.clientY};
      }
      const thumb = thumbs[touch.identifier];
      if (!thumb) continue;
      const dx = touch.clientX - thumb.x;
      const dy = touch.clientY - thumb.y;
      const lifted = event.type === "touchend" || event.type === "touchcancel";
      if (lifted) delete thumbs[touch.identifier];
      if (thumb.roll) Hold("thumb", lifted ? [] : Steer(dx / RollReach, dy / RollReach));
      else if (lifted) PointOffset(0, 0);
      else PointOffset(dx / LookReach, dy / LookReach);
      thumb.dx = dx;
      thumb.dy = dy;
    }
    ShowThumbs();
  }

  // Each pad's ring sits where its thumb landed (or in its corner), its knob where the thumb is.
  function ShowThumbs() {
    for (const roll of [true, false]) {
      const pad = document.getElementById(roll ? "roll-pad" : "look-pad");
      if (!pad) continue;
      const thumb = Object.values(thumbs).find(t => t.roll === roll);
      pad.classList.toggle("active", Boolean(thumb));
      pad.style.left = thumb ? thumb.x + "px" : "";
      pad.style.top = thumb ? thumb.y + "px" : "";
      pad.firstElementChild.style.transform =
          thumb ? `translate(${thumb.dx || 0}px, ${thumb.dy || 0}px)` : "";
    }
  }

  // Left stick and d-pad roll; the right stick turns the view as the pointer's offset does.
  function ReadPads() {
    let roll = [];
    let look = null;
    for (const pad of navigator.getGamepads ? navigator.getGamepads() : []) {
      if (!pad || !pad.connected) continue;
      let x = pad.axes[PadLeftX] || 0;
      let y = pad.axes[PadLeftY] || 0;
      for (const button in PadButtons) {
        if (pad.buttons[button] && pad.buttons[button].pressed) {
          x += PadButtons[button][0];
          y += PadButtons[button][1];
        }
      }
      if (roll.length === 0) roll = Steer(x, y);
      const lookX = pad.axes[PadRightX] || 0;
      const lookY = pad.axes[PadRightY] || 0;
      if (!look && Math.hypot(lookX, lookY) >= DeadZone) look = [lookX, lookY];
    }
    Hold("pads", roll);
    if (look) PointOffset(look[0], look[1]);
    else if (padLooking) PointOffset(0, 0);
    padLooking = Boolean(look);
  }

  // Hands the worker the files this page uses: stored now, and on leaving, all others dropped.
  function TellKeeper(kind) {
    const worker = navigator.serviceWorker && navigator.serviceWorker.controller ||
                   TellKeeper.worker;
    if (!worker) return;
    const files = performance.getEntriesByType("resource").map(entry => entry.name)
        .filter(name => new URL(name).origin === location.origin);
    worker.postMessage({[kind]: [location.href.split("#")[0], ...files]});
  }

  function KeepForOffline() {
    if (!("serviceWorker" in navigator)) return;
    navigator.serviceWorker.register(WorkerScript, {updateViaCache: "none"})
        .then(() => navigator.serviceWorker.ready)
        .then(registration => {
          TellKeeper.worker = registration.active;
          TellKeeper("store");
          new PerformanceObserver(() => TellKeeper("store")).observe({type: "resource"});
        })
        .catch(() => {}); // a page that cannot be kept still plays
  }

  function Tick() {
    if (Playing()) {
      if (!started) {
        started = true;
        document.body.classList.add("playing");
        KeepForOffline();
      }
      ReadPads();
    }
    requestAnimationFrame(Tick);
  }

  function ToggleFullscreen() {
    if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
    else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
    canvas.focus();
  }

  window.addEventListener("keydown", OnKey);
  window.addEventListener("keyup", OnKey);
  window.addEventListener("blur", LetGo);
  document.addEventListener("visibilitychange", () => document.hidden && LetGo());
  window.addEventListener("pagehide", () => TellKeeper("keep"));
  for (const type of ["mousemove", "mousedown", "mouseup", "mouseout", "wheel"]) {
    stage.addEventListener(type, OnMouse, true);
  }
  canvas.addEventListener("mouseleave", () => PointOffset(0, 0));
  for (const type of ["touchstart", "touchmove", "touchend", "touchcancel"]) {
    document.addEventListener(type, OnTouch, {capture: true, passive: false});
  }
  const fullscreen = document.getElementById("fullscreen");
  fullscreen.hidden = !stage.requestFullscreen;
  fullscreen.addEventListener("click", ToggleFullscreen);
  requestAnimationFrame(Tick);
})();
