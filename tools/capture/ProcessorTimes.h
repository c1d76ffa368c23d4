// Where a capture's time goes: processor time (user and system) of this process, its
// rasteriser threads included, and of the encoder once it has ended. One source per operating
// system.
#pragma once

class ProcessorTimes {
  public:
    // One line on standard output: "processor: capture S s, encoder S s" (the encoder's where
    // the system keeps its children's times).
    static void print();
};
