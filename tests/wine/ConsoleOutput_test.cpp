// The console collector's output to a real console, read back from the
// console's screen buffer: text shows its characters whatever the console's
// output code page is (chcp 65001 included) on the NT family, and in the
// console's OEM code page on the 9x family; JSON stays UTF-8 bytes; long
// output arrives whole. Output that cannot be written (a pipe whose reader
// has gone) ends with exit code 2 and the reason on standard error.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwctype>
#include <string>
#include <vector>

#include "engine/OXI_Processes.h"
#include "platform/Orvex_Resources.h"
#include "tests/wine/support/InvTool.h"
#include "tests/wine/support/ReportSamples.h"
#include "tests/wine/support/TestMode.h"
#include "tests/wine/support/ToolRun.h"

using namespace orvex;
using namespace orvex::test;

namespace {

// The display name of the sample service: a u with diaeresis, which OEM code
// page 437 holds too, and the euro sign, which it does not.
const std::wstring SampleName = L"Dienst f\u00FCr Z\u00FCrich \u20AC";

// Text in a code page; empty where the code page cannot hold all of it.
std::string Encoded(UINT codePage, const std::wstring& text) {
    std::string out(text.size() * 4, '\0');
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, codePage == CP_UTF8 ? nullptr : &lossy);
    out.resize(n > 0 && !lossy ? static_cast<std::size_t>(n) : 0);
    return out;
}

std::wstring Decoded(UINT codePage, const std::string& bytes) {
    std::wstring out(bytes.size(), L'\0');
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(),
                                      static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

// A report of sample records whose first service has Name as display name.
// With Every, each service's display name is Name and its number.
void SaveReport(const std::string& file, const std::string& name, int services, bool every = false) {
    TOrvex_ProcessList component;
    AddSamples(component, 2, 1, 0);
    TServiceInfo first = SampleService(0);
    first.DisplayName = name;
    component.AddService(first);
    for (int i = 1; i < services; ++i) {
        TServiceInfo s = SampleService(i);
        if (every) s.DisplayName = name + " " + std::to_string(i);
        component.AddService(s);
    }
    component.SaveToStorage(file);
}

// A console of this process's own for the length of a test, as a user's
// window gives one: AllocConsole after leaving the one the test runner gave.
// The tool started from here writes to it, and it is read back here.
class TOwnConsole {
public:
    TOwnConsole() {
        for (int i = 0; i < 3; ++i) saved_[i] = GetStdHandle(StdIds[i]);
        FreeConsole();
        if (!AllocConsole()) return;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        out_.reset(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr));
        // Room for every line of the long output, none wrapped.
        if (out_) SetConsoleScreenBufferSize(out_.get(), COORD{200, 1500});
    }
    ~TOwnConsole() {
        out_.reset();
        FreeConsole();
        for (int i = 0; i < 3; ++i) SetStdHandle(StdIds[i], saved_[i]);
    }
    TOwnConsole(const TOwnConsole&) = delete;
    TOwnConsole& operator=(const TOwnConsole&) = delete;

    bool ok() const { return static_cast<bool>(out_); }

    // Runs the console collector with its standard output and error on this
    // console, from an empty screen; its exit code.
    DWORD Run(const std::string& args) {
        Clear();
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = out_.get();
        si.hStdError = out_.get();
        const std::string exe = InvToolPath();
        std::string commandLine = Quoted(exe) + " " + args;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
            return 0xFFFFFFFF;
        }
        const THandle process(pi.hProcess), thread(pi.hThread);
        if (WaitForSingleObject(process.get(), 120'000) != WAIT_OBJECT_0) {
            TerminateProcess(process.get(), 99);
            ADD_FAILURE() << args << " did not end";
        }
        DWORD code = 0xFFFFFFFF;
        GetExitCodeProcess(process.get(), &code);
        return code;
    }

    // What the screen buffer shows: its rows without trailing blanks, each
    // ended by "\n"; with Joined, the rows as they are, one after the other
    // (a line longer than a row goes on in the next).
    std::wstring Screen(bool joined = false) const {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (!GetConsoleScreenBufferInfo(out_.get(), &info)) return L"";
        std::wstring screen;
        std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
        for (SHORT y = 0; y < info.dwSize.Y; ++y) {
            DWORD read = 0;
            if (!ReadConsoleOutputCharacterW(out_.get(), row.data(), static_cast<DWORD>(row.size()), COORD{0, y},
                                             &read))
                break;
            const std::wstring text = row.substr(0, read);
            if (joined) {
                screen += text;
                continue;
            }
            const auto end = text.find_last_not_of(L' ');
            screen += (end == std::wstring::npos ? L"" : text.substr(0, end + 1)) + L"\n";
        }
        return screen;
    }

private:
    static constexpr DWORD StdIds[3] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};

    void Clear() {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        GetConsoleScreenBufferInfo(out_.get(), &info);
        DWORD written = 0;
        FillConsoleOutputCharacterW(out_.get(), L' ',
                                    static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y), COORD{0, 0},
                                    &written);
        SetConsoleCursorPosition(out_.get(), COORD{0, 0});
    }

    HANDLE saved_[3] = {};
    THandle out_;
};

// A run of the tool whose standard output is a pipe with its read end closed
// before the tool starts, so that every write to it fails.
struct TClosedOutputRun {
    DWORD ExitCode = 0xFFFFFFFF;
    std::string Err;
};

TClosedOutputRun RunWithOutputClosed(const std::string& args) {
    TClosedOutputRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ADD_FAILURE() << "no pipes: " << GetLastError();
        return run;
    }
    THandle outW(outWrite), errR(errRead), errW(errWrite);
    CloseHandle(outRead);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    const std::string exe = InvToolPath();
    std::string commandLine = Quoted(exe) + " " + args;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
        return run;
    }
    const THandle process(pi.hProcess), thread(pi.hThread);
    outW.reset();
    errW.reset();
    // The message is a line: the pipe holds it until the tool has ended.
    if (WaitForSingleObject(process.get(), 120'000) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 99);
        ADD_FAILURE() << args << " did not end";
    }
    GetExitCodeProcess(process.get(), &run.ExitCode);
    char buffer[1024];
    DWORD got = 0;
    while (ReadFile(errR.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) run.Err.append(buffer, got);
    return run;
}

// Every write of the tool on its own: its standard output is the client end
// of a message-mode pipe, which keeps each WriteFile as one message.
std::vector<std::string> WritesOf(const std::string& args) {
    std::vector<std::string> writes;
    const std::string name = "\\\\.\\pipe\\OrvexInvWrites_" + std::to_string(GetCurrentProcessId()) + "_" +
                             std::to_string(GetTickCount());
    const THandle server(CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE,
                                          1, 0, 1 << 20, 0, nullptr));
    if (!server) {
        ADD_FAILURE() << "no message pipe: " << GetLastError();
        return writes;
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    THandle client(CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inherit, OPEN_EXISTING, 0, nullptr));
    if (!client) {
        ADD_FAILURE() << "cannot open the message pipe: " << GetLastError();
        return writes;
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = client.get();
    const std::string exe = InvToolPath();
    std::string commandLine = Quoted(exe) + " " + args;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << exe << ": " << GetLastError();
        return writes;
    }
    const THandle process(pi.hProcess), thread(pi.hThread);
    client.reset();
    std::vector<char> buffer(1 << 20);
    const DWORD start = GetTickCount();
    for (bool ended = false;;) {
        DWORD available = 0;
        if (PeekNamedPipe(server.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            DWORD got = 0;
            if (!ReadFile(server.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
                ADD_FAILURE() << "read: " << GetLastError();
                break;
            }
            writes.emplace_back(buffer.data(), got);
            continue;
        }
        if (ended) break;
        ended = WaitForSingleObject(process.get(), 20) == WAIT_OBJECT_0;
        if (GetTickCount() - start > 120'000) {
            TerminateProcess(process.get(), 99);
            ADD_FAILURE() << args << " did not end";
            break;
        }
    }
    return writes;
}

std::string Narrow(const std::wstring& s) { return Encoded(CP_UTF8, s); }

// Where a row of the screen starts with Text and no further digit follows
// ("Service number 1" is not the start of "Service number 10"); npos if none.
std::size_t RowStart(const std::wstring& screen, const std::wstring& text, std::size_t from = 0) {
    for (std::size_t at = screen.find(L"\n" + text, from); at != std::wstring::npos;
         at = screen.find(L"\n" + text, at + 1)) {
        const std::size_t next = at + 1 + text.size();
        if (next >= screen.size() || !iswdigit(screen[next])) return at;
    }
    return std::wstring::npos;
}

// The sample name in this program's ANSI code page, or a skip where that
// cannot hold it.
#define ORVEX_SAMPLE_OR_SKIP(name)                        \
    const std::string name = Encoded(CP_ACP, SampleName); \
    if (name.empty()) GTEST_SKIP() << "ANSI code page " << GetACP() << " cannot hold the sample name"

}  // namespace

void ExpectTextInEveryCodePage() {
    ORVEX_SAMPLE_OR_SKIP(name);
    TTempFolder folder;
    const std::string file = folder.path() + "sample.ivs";
    SaveReport(file, name, 3);
    TOwnConsole console;
    ASSERT_TRUE(console.ok()) << "no console: " << GetLastError();
    // The console's own OEM code page, UTF-8 (chcp 65001) and the ANSI one.
    for (const UINT codePage : {GetOEMCP(), static_cast<UINT>(CP_UTF8), GetACP()}) {
        ASSERT_TRUE(SetConsoleOutputCP(codePage)) << codePage;
        ASSERT_EQ(console.Run("show " + Quoted(file)), 0u);
        const std::wstring screen = console.Screen();
        EXPECT_NE(RowStart(screen, SampleName), std::wstring::npos) << "code page " << codePage << ":\n"
                                                                    << Narrow(screen.substr(0, 2000));
        EXPECT_NE(RowStart(screen, L"Service number 2"), std::wstring::npos) << codePage;
    }
}

TEST(ConsoleOutput, TextShowsItsCharactersWhateverTheConsolesCodePage) { ExpectTextInEveryCodePage(); }

// NT 4 has WriteConsoleW as well.
TEST(Nt40ConsoleOutput, TextShowsItsCharactersWhateverTheConsolesCodePage) { ExpectTextInEveryCodePage(); }

TEST(ConsoleOutput, JsonStaysUtf8BytesOnAConsole) {
    ORVEX_SAMPLE_OR_SKIP(name);
    TTempFolder folder;
    const std::string file = folder.path() + "sample.ivs";
    SaveReport(file, name, 1);
    TOwnConsole console;
    ASSERT_TRUE(console.ok()) << "no console: " << GetLastError();
    // The console reads the UTF-8 bytes in its code page: as they are in
    // code page 65001, as other characters in its OEM code page.
    for (const UINT codePage : {static_cast<UINT>(CP_UTF8), GetOEMCP()}) {
        ASSERT_TRUE(SetConsoleOutputCP(codePage));
        ASSERT_EQ(console.Run("show " + Quoted(file) + " --json"), 0u);
        const std::wstring shown = Decoded(codePage, "\"displayName\":\"" + Narrow(SampleName) + "\"");
        const std::wstring screen = console.Screen(true);
        EXPECT_NE(screen.find(shown), std::wstring::npos) << codePage << ":\n" << Narrow(screen.substr(0, 2000));
    }
}

TEST(ConsoleOutput, LongTextArrivesWholeInPieces) {
    TTempFolder folder;
    const std::string file = folder.path() + "long.ivs";
    SaveReport(file, "Service number 0", 300);
    const TToolRun piped = RunProgram(InvToolPath(), "show " + Quoted(file));
    ASSERT_EQ(piped.ExitCode, 0u) << piped.Err;
    ASSERT_GT(piped.Out.size(), 4u * 8192u) << "the text is not long enough to need pieces";
    TOwnConsole console;
    ASSERT_TRUE(console.ok()) << "no console: " << GetLastError();
    ASSERT_TRUE(SetConsoleOutputCP(CP_UTF8));
    ASSERT_EQ(console.Run("show " + Quoted(file)), 0u);
    const std::wstring screen = console.Screen();
    // Every service once, in order.
    std::size_t at = 0;
    for (int i = 0; i < 300; ++i) {
        const std::wstring line = L"Service number " + std::to_wstring(i);
        const std::size_t found = RowStart(screen, line, at);
        ASSERT_NE(found, std::wstring::npos) << "service " << i;
        EXPECT_EQ(RowStart(screen, line, found + 1), std::wstring::npos) << "service " << i << " twice";
        at = found + 1;
    }
}

// Each WriteFile passes at most 8 KB (the consoles of XP and 7 refuse more),
// and UTF-8 output is never cut inside a character.
TEST(ConsoleOutput, EveryWriteIsAtMostEightKilobytes) {
    ORVEX_SAMPLE_OR_SKIP(name);
    TTempFolder folder;
    const std::string file = folder.path() + "long.ivs";
    SaveReport(file, name, 300, true);
    for (const char* form : {"", " --json", " --csv services"}) {
        const std::string args = "show " + Quoted(file) + form;
        const TToolRun piped = RunProgram(InvToolPath(), args);
        ASSERT_EQ(piped.ExitCode, 0u) << piped.Err;
        ASSERT_GT(piped.Out.size(), 3u * 8192u) << form;
        const std::vector<std::string> writes = WritesOf(args);
        std::string joined;
        for (std::size_t i = 0; i < writes.size(); ++i) {
            EXPECT_LE(writes[i].size(), 8192u) << form << " write " << i;
            const auto first = static_cast<unsigned char>(writes[i].empty() ? 0 : writes[i][0]);
            if (*form) {
                EXPECT_NE(first & 0xC0u, 0x80u) << form << ": write " << i << " starts inside a character";
            }
            joined += writes[i];
        }
        EXPECT_GE(writes.size(), 4u) << form;
        EXPECT_EQ(joined, piped.Out) << form;
    }
}

TEST(ConsoleOutput, TextToAPipeIsTheProgramsBytes) {
    ORVEX_SAMPLE_OR_SKIP(name);
    TTempFolder folder;
    const std::string file = folder.path() + "sample.ivs";
    SaveReport(file, name, 1);
    const TToolRun text = RunProgram(InvToolPath(), "show " + Quoted(file));
    ASSERT_EQ(text.ExitCode, 0u) << text.Err;
    // The tool's bytes are in its own ANSI code page: UTF-8, which its
    // manifest asks for and Wine grants in every version mode.
    EXPECT_NE(text.Out.find("\r\n" + Narrow(SampleName) + "\t"), std::string::npos) << text.Out;
    const TToolRun json = RunProgram(InvToolPath(), "show " + Quoted(file) + " --json");
    ASSERT_EQ(json.ExitCode, 0u) << json.Err;
    EXPECT_NE(json.Out.find("\"displayName\":\"" + Narrow(SampleName) + "\""), std::string::npos);
}

TEST(ConsoleOutput, OutputThatCannotBeWrittenEndsWithTheReason) {
    TTempFolder folder;
    const std::string file = folder.path() + "sample.ivs";
    SaveReport(file, "svc", 1);
    for (const char* form : {"", " --json", " --csv services"}) {
        const TClosedOutputRun run = RunWithOutputClosed("show " + Quoted(file) + form);
        EXPECT_EQ(run.ExitCode, 2u) << form;
        const std::string lead = "orvexinv: cannot write the output: ";
        EXPECT_EQ(run.Err.rfind(lead, 0), 0u) << form << ": " << run.Err;
        EXPECT_GT(run.Err.size(), lead.size() + 2) << "no reason given: " << run.Err;
    }
}

// On the 9x family the console takes bytes in its OEM code page: the tool
// converts its text to that code page (a character the OEM code page lacks
// becomes its nearest or "?").
TEST(Win98ConsoleOutput, TextIsInTheConsolesOemCodePage) {
    ORVEX_SAMPLE_OR_SKIP(name);
    TTempFolder folder;
    const std::string file = folder.path() + "sample.ivs";
    SaveReport(file, name, 1);
    TOwnConsole console;
    ASSERT_TRUE(console.ok()) << "no console: " << GetLastError();
    ASSERT_TRUE(SetConsoleOutputCP(GetOEMCP()));
    ASSERT_EQ(console.Run("show " + Quoted(file)), 0u);
    std::string oem = name;
    CharToOemBuffA(oem.data(), oem.data(), static_cast<DWORD>(oem.size()));
    const std::wstring screen = console.Screen();
    EXPECT_NE(RowStart(screen, Decoded(GetOEMCP(), oem)), std::wstring::npos) << Narrow(screen.substr(0, 2000));
    if (!Encoded(GetOEMCP(), L"\u00FC").empty()) {
        EXPECT_NE(RowStart(screen, L"Dienst f\u00FCr Z\u00FCrich"), std::wstring::npos)
            << "OEM code page " << GetOEMCP();
    }
}
