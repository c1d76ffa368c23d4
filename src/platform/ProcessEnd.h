// How the process ends once SDL is shut down: a program on a desktop exits; in a page, the
// browser's loop and the page's runtime end with it.
#pragma once

class ProcessEnd {
  public:
    [[noreturn]] static void now(int status);
};
