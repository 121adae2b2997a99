#pragma once
// Keeps console lines (the loaders' "LoadModel: ..." and the like) off standard output while it
// lives, for the tools and benchmarks whose own output is on standard output.

#include <iostream>
#include <sstream>

class QuietConsole {
  public:
    QuietConsole() : saved_(std::cout.rdbuf(sink_.rdbuf())) {}
    ~QuietConsole() { std::cout.rdbuf(saved_); }
    QuietConsole(const QuietConsole&) = delete;
    QuietConsole& operator=(const QuietConsole&) = delete;

  private:
    std::ostringstream sink_;
    std::streambuf* saved_;
};
