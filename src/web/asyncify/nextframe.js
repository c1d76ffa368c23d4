// The yield of the demo's own loop in the page: the wasm stack is unwound, the browser runs its
// tasks (the sound's timers, the keys) and draws, and the loop goes on at the next animation
// frame. The callback goes through the runtime's own wrapper, so that the demo's exit from
// inside the loop ends the runtime quietly, as it does from the browser's main loop.
mergeInto(LibraryManager.library, {
  vq_next_frame__deps: ['$Browser'],
  vq_next_frame__sig: 'v',
  vq_next_frame: function() {
    return Asyncify.handleSleep(function(wakeUp) {
      Browser.safeRequestAnimationFrame(wakeUp);
    });
  }
});
