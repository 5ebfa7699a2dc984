// How the engine's blocking main loop shares the browser's one thread (ASYNCIFY, checked with
// Debian's emscripten 3.1.6). The loop never returns to the browser by itself, so every presented
// frame and every sleep yields: without these, the page freezes at the first frame.
//
// A presented frame waits for the display's next refresh, so the idle loop draws no more often
// than the display shows. A layer turn sleeps between its frames to pace itself; a frame presented
// after such a sleep does not wait for a refresh as well, or each of the turn's 46 frames would
// cost a whole refresh (0.77 s a turn at 60 Hz instead of the desktop's ~0.37 s).
mergeInto(LibraryManager.library, {
  $zarnelPresent: { sleptSinceLastFrame: false, frames: 0 },
  // The runtime reports the end of main() when main first yields, too, since the blocking loop
  // returns to the browser there. The page tells the two apart by asking whether the program
  // waits to be resumed.
  $zarnelPresent__postset: "Module['programIsWaiting'] = function() { return !!Asyncify.currData; };",

  SDL_Delay__deps: ['emscripten_sleep', '$zarnelPresent'],
  SDL_Delay: function(milliseconds) {
    zarnelPresent.sleptSinceLastFrame = true;
    _emscripten_sleep(milliseconds);
  },

  // Module.onFrame, when the page sets it, hears of every presented frame: the page shows the game
  // at the first one, and the benchmarks count them.
  SDL_GL_SwapBuffers__deps: ['$zarnelPresent', '$Browser'],
  SDL_GL_SwapBuffers: function() {
    // ASYNCIFY calls this again when it resumes the program: count the frame only the first time.
    if (Asyncify.state === Asyncify.State.Normal) {
      zarnelPresent.frames++;
      if (Module['onFrame']) Module['onFrame'](zarnelPresent.frames);
      if (zarnelPresent.sleptSinceLastFrame) {
        zarnelPresent.sleptSinceLastFrame = false;
        return;
      }
    }
    Asyncify.handleSleep(function(wakeUp) {
      Browser.safeRequestAnimationFrame(wakeUp);
    });
  },
});
