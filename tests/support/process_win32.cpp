#include "process.h"

#include "utf8path.h"

#include <stdexcept>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace kt63::test {

namespace {

HANDLE Native(intptr_t handle)
{
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring Wide(const std::string& text)
{
    return PathFromUtf8(text).native();
}

// One argument quoted so that the C runtime's parser gives it back as it is: backslashes count
// only before a quote, where they are doubled.
std::wstring Quoted(const std::wstring& argument)
{
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

struct Pipe
{
    HANDLE read = nullptr;
    HANDLE write = nullptr;
};

// Both ends are made uninheritable; the child's end is made inheritable just for its start.
Pipe MakePipe()
{
    Pipe pipe;
    if (!::CreatePipe(&pipe.read, &pipe.write, nullptr, 0))
        throw std::runtime_error("cannot make a pipe");
    return pipe;
}

HANDLE Inheritable(HANDLE handle)
{
    if (handle != nullptr)
        ::SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return handle;
}

HANDLE Start(const std::string& program, const std::vector<std::string>& arguments, HANDLE input,
             HANDLE output, HANDLE error)
{
    std::wstring commandLine = Quoted(Wide(program));
    for (const std::string& argument : arguments)
        commandLine += L" " + Quoted(Wide(argument));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = Inheritable(input ? input : ::GetStdHandle(STD_INPUT_HANDLE));
    startup.hStdOutput = Inheritable(output ? output : ::GetStdHandle(STD_OUTPUT_HANDLE));
    startup.hStdError = Inheritable(error ? error : ::GetStdHandle(STD_ERROR_HANDLE));
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &process))
        throw std::runtime_error("cannot start " + program);
    ::CloseHandle(process.hThread);
    return process.hProcess;
}

int WaitFor(HANDLE process)
{
    DWORD status = 0;
    ::WaitForSingleObject(process, INFINITE);
    const bool known = ::GetExitCodeProcess(process, &status) != 0;
    ::CloseHandle(process);
    return known ? static_cast<int>(status) : -1;
}

HANDLE OutputFile(const std::string& path)
{
    const HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot write " + path);
    return file;
}

std::string ReadAll(HANDLE pipe)
{
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    return text;
}

} // namespace

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::string& outputFile)
{
    const Pipe captured = MakePipe();
    HANDLE output = captured.write;
    if (!outputFile.empty())
        output = OutputFile(outputFile);
    const HANDLE process = Start(program, arguments, nullptr, output, captured.write);
    if (output != captured.write)
        ::CloseHandle(output);
    ::CloseHandle(captured.write);
    ProgramRun run{-1, ReadAll(captured.read)};
    ::CloseHandle(captured.read);
    run.status = WaitFor(process);
    return run;
}

RunningProgram::RunningProgram(const std::string& program,
                               const std::vector<std::string>& arguments)
{
    const Pipe input = MakePipe();
    const Pipe output = MakePipe();
    mProcess =
        reinterpret_cast<intptr_t>(Start(program, arguments, input.read, output.write, nullptr));
    ::CloseHandle(input.read);
    ::CloseHandle(output.write);
    mInput = reinterpret_cast<intptr_t>(input.write);
    mOutput = reinterpret_cast<intptr_t>(output.read);
}

RunningProgram::~RunningProgram()
{
    ::CloseHandle(Native(mInput));
    ::CloseHandle(Native(mOutput));
    WaitFor(Native(mProcess));
}

std::string RunningProgram::ReadLine()
{
    std::string line;
    char c;
    DWORD got = 0;
    while (::ReadFile(Native(mOutput), &c, 1, &got, nullptr) && got == 1 && c != '\n')
        line += c;
    // A program's text-mode output ends its lines in CR LF here.
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line;
}

StoppableProgram::StoppableProgram(const std::string& program,
                                   const std::vector<std::string>& arguments,
                                   const std::string& outputFile)
{
    const HANDLE output = OutputFile(outputFile);
    mProcess = reinterpret_cast<intptr_t>(Start(program, arguments, nullptr, output, output));
    ::CloseHandle(output);
}

StoppableProgram::~StoppableProgram()
{
    if (!Ended())
        Kill();
    Wait();
}

bool StoppableProgram::Ended()
{
    return ::WaitForSingleObject(Native(mProcess), 0) == WAIT_OBJECT_0;
}

void StoppableProgram::Kill()
{
    ::TerminateProcess(Native(mProcess), 1);
}

bool StoppableProgram::Interrupt()
{
    return false;
}

int StoppableProgram::Wait()
{
    if (!mEnded) {
        mStatus = WaitFor(Native(mProcess));
        mEnded = true;
    }
    return mStatus;
}

} // namespace kt63::test
