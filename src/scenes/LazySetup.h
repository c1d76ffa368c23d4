// The lazy scenes' first-frame rule, told once: init() runs at the top of the first render only.
#pragma once

class LazySetup {
  public:
    // Runs scene->init() and sets scene->initialized, unless the flag is already set.
    template <class LazyScene> static void onFirstFrame(LazyScene* scene) {
        if (!scene->initialized) {
            scene->init();
            scene->initialized = true;
        }
    }
};
