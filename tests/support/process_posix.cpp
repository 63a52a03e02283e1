#include "process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace kt63::test {

namespace {

struct Pipe
{
    int read = -1;
    int write = -1;
};

Pipe MakePipe()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    return {ends[0], ends[1]};
}

// Starts `program` with `input`, `output` and `error` as its standard streams (-1 keeps ours).
pid_t Start(const std::string& program, const std::vector<std::string>& arguments, int input,
            int output, int error)
{
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int streams[] = {input, output, error};
        for (int number = 0; number < 3; ++number)
            if (streams[number] >= 0)
                ::dup2(streams[number], number);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (pid < 0)
        throw std::runtime_error("cannot start " + program);
    return pid;
}

int WaitFor(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int OutputFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot write " + path);
    return fd;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(fd, buffer, sizeof buffer)) != 0;) {
        if (got > 0)
            text.append(buffer, static_cast<size_t>(got));
        else if (errno != EINTR)
            break;
    }
    return text;
}

} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& outputFile)
{
    const Pipe captured = MakePipe();
    int output = captured.write;
    if (!outputFile.empty())
        output = OutputFile(outputFile);
    const pid_t pid = Start(program, arguments, -1, output, captured.write);
    if (output != captured.write)
        ::close(output);
    ::close(captured.write);
    ProgramRun run{-1, ReadAll(captured.read)};
    ::close(captured.read);
    run.status = WaitFor(pid);
    return run;
}

RunningProgram::RunningProgram(const std::string& program,
                               const std::vector<std::string>& arguments)
{
    const Pipe input = MakePipe();
    const Pipe output = MakePipe();
    mProcess = Start(program, arguments, input.read, output.write, -1);
    ::close(input.read);
    ::close(output.write);
    mInput = input.write;
    mOutput = output.read;
}

RunningProgram::~RunningProgram()
{
    ::close(mInput);
    ::close(mOutput);
    WaitFor(mProcess);
}

std::string RunningProgram::ReadLine()
{
    std::string line;
    char c;
    while (::read(mOutput, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

StoppableProgram::StoppableProgram(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const std::string& outputFile)
{
    const int output = OutputFile(outputFile);
    mProcess = Start(program, arguments, -1, output, output);
    ::close(output);
}

StoppableProgram::~StoppableProgram()
{
    if (!Ended())
        Kill();
    Wait();
}

bool StoppableProgram::Ended()
{
    if (!mEnded)
        mEnded = ::waitpid(static_cast<pid_t>(mProcess), &mStatus, WNOHANG) > 0;
    return mEnded;
}

void StoppableProgram::Kill()
{
    ::kill(static_cast<pid_t>(mProcess), SIGKILL);
}

bool StoppableProgram::Interrupt()
{
    return ::kill(static_cast<pid_t>(mProcess), SIGINT) == 0;
}

int StoppableProgram::Wait()
{
    while (!mEnded && ::waitpid(static_cast<pid_t>(mProcess), &mStatus, 0) < 0 && errno == EINTR) {
    }
    mEnded = true;
    return WIFEXITED(mStatus) ? WEXITSTATUS(mStatus) : -WTERMSIG(mStatus);
}

} // namespace kt63::test
