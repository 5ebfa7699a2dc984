// How the engine's blocking main loop shares the browser's one thread (ASYNCIFY, checked with
// Debian's emscripten 3.1.6). The loop never returns to the browser by itself, and the browser
// shows a frame only after the program yields, so the program yields at three places:
// - the engine's event poll, at the top of every loop, when a frame was presented since the last
//   yield: it waits for the display's next refresh, so the idle loop draws once a refresh;
// - every sleep: a layer turn paces its frames with short sleeps, and waits for nothing else, so
//   a turn lasts about as long as on the desktop (~0.37 s), not 46 refreshes (0.77 s at 60 Hz);
// - a presented frame that follows another with no yield between them (turn frames on a machine
//   too slow to sleep): a zero-delay yield keeps the page responsive.
// Without these the page freezes at the first frame. web/Web.cmake instruments only the
// functions on the way from main to these three calls.

// The poll's wrapper is installed by its script-start hook alone: nothing calls it by name.
DEFAULT_LIBRARY_FUNCS_TO_INCLUDE.push('$zarnelPollAfterRefresh');

mergeInto(LibraryManager.library, {
  $zarnelPresent: { sleptSinceLastFrame: false, frameUnyielded: false, frames: 0 },
  // The runtime reports the end of main() when main first yields, too, since the blocking loop
  // returns to the browser there. The page tells the two apart by asking whether the program
  // waits to be resumed.
  $zarnelPresent__postset: "Module['programIsWaiting'] = function() { return !!Asyncify.currData; };",

  // The event poll is wrapped: its own definition stays emscripten's.
  $zarnelPollAfterRefresh__deps: ['$zarnelPresent', '$Browser', 'SDL_PollEvent'],
  $zarnelPollAfterRefresh__postset: '_SDL_PollEvent = zarnelPollAfterRefresh(_SDL_PollEvent);',
  $zarnelPollAfterRefresh: function(poll) {
    return function(event) {
      if (Asyncify.state === Asyncify.State.Normal) {
        if (!zarnelPresent.frameUnyielded) return poll(event);
        zarnelPresent.frameUnyielded = false;
      }
      // Starts the wait, or, when the program resumes here, ends it.
      Asyncify.handleSleep(function(wakeUp) { Browser.safeRequestAnimationFrame(wakeUp); });
      return Asyncify.state === Asyncify.State.Normal ? poll(event) : 0;
    };
  },

  SDL_Delay__deps: ['emscripten_sleep', '$zarnelPresent'],
  SDL_Delay: function(milliseconds) {
    zarnelPresent.sleptSinceLastFrame = true;
    zarnelPresent.frameUnyielded = false;
    _emscripten_sleep(milliseconds);
  },

  // Module.onFrame(count, paced), when the page sets it, hears of every presented frame, and
  // whether the program slept before it (a turn's pacing): the page shows the game at the first
  // one, and the benchmarks time them.
  SDL_GL_SwapBuffers__deps: ['$zarnelPresent', '$safeSetTimeout'],
  SDL_GL_SwapBuffers: function() {
    // ASYNCIFY calls this again when it resumes the program: count the frame only the first time.
    if (Asyncify.state === Asyncify.State.Normal) {
      zarnelPresent.frames++;
      if (Module['onFrame']) Module['onFrame'](zarnelPresent.frames, zarnelPresent.sleptSinceLastFrame);
      zarnelPresent.sleptSinceLastFrame = false;
      const mustYield = zarnelPresent.frameUnyielded;
      zarnelPresent.frameUnyielded = true;
      if (!mustYield) return;
    }
    Asyncify.handleSleep(function(wakeUp) { safeSetTimeout(wakeUp, 0); });
  },
});
