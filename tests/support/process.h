#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kt63::test {

struct ProgramRun
{
    int status;         // the exit status, or -1 when the program did not exit by itself
    std::string output; // what it wrote to standard output and standard error together
};

// Runs `program` with `arguments` (no shell: they reach it as they are, UTF-8) and waits for it.
// With `outputFile`, standard output goes into that file and only standard error is captured.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& outputFile = {});

// A program left running beside the test, with a pipe to its standard input and one from its
// standard output. Closing the input, on destruction, asks it to end; the destructor waits.
class RunningProgram
{
public:
    RunningProgram(const std::string& program, const std::vector<std::string>& arguments);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The next line the program writes, without its line end; empty when it wrote no more.
    std::string ReadLine();

private:
    intptr_t mProcess = -1; // a process id, or a Windows process handle's value
    intptr_t mInput = -1;   // our end of its standard input
    intptr_t mOutput = -1;  // our end of its standard output
};

// A program started beside the test, which the test stops at a moment of its choosing, as a
// kill or Ctrl+C would. Its standard output and error go into `outputFile`. Killed, if still
// running, and waited for on destruction.
class StoppableProgram
{
public:
    StoppableProgram(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& outputFile);
    ~StoppableProgram();
    StoppableProgram(const StoppableProgram&) = delete;
    StoppableProgram& operator=(const StoppableProgram&) = delete;

    // Whether it has ended, without waiting.
    bool Ended();

    // Ends it at once, giving it no chance to act (SIGKILL, TerminateProcess).
    void Kill();

    // Sends it what Ctrl+C sends (SIGINT); false where the system cannot send that to one
    // program of the console alone (Windows).
    bool Interrupt();

    // Waits for the end: the exit status, or minus the number of the signal that ended it.
    int Wait();

private:
    intptr_t mProcess = -1; // a process id, or a Windows process handle's value
    int mStatus = 0;
    bool mEnded = false;
};

} // namespace kt63::test
