#include "platform/HelperProcess.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/portable/HelperMessages.h"
#include "platform/win32/WideText.h"

namespace vorlith {
namespace {

constexpr int kExitGraceMs = 100;
// A helper's command line: the program, this option, then its place among the helpers this
// program makes (in the order they are constructed) and the handles of its two pipes.
constexpr const char* kHelperOption = "--helper-process";

struct Channel {
  HANDLE process = nullptr;
  HANDLE requests = nullptr;  // written by the program
  HANDLE replies = nullptr;   // read by the program
  int index = 0;              // the helper's place among this program's helpers
};

std::map<const HelperProcess*, Channel>& Channels() {
  static std::map<const HelperProcess*, Channel> channels;
  return channels;
}

int constructed = 0;  // helpers constructed in this process so far

// The job that holds every helper: closed, by the system when the program ends however it
// ends, it kills them.
HANDLE HelperJob() {
  static const HANDLE job = [] {
    const HANDLE made = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (made &&
        !SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
      CloseHandle(made);
      return HANDLE{nullptr};
    }
    return made;
  }();
  return job;
}

bool WriteAll(HANDLE pipe, const char* bytes, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(pipe, bytes + done, want, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return true;
}

WriteBytes WriteTo(HANDLE pipe) {
  return [pipe](const char* bytes, std::size_t size) { return WriteAll(pipe, bytes, size); };
}

// Reads exactly size bytes, waiting at most until deadline (none when timeoutMs < 0).
class Receiver {
 public:
  Receiver(HANDLE pipe, int timeoutMs) : pipe(pipe), timeoutMs(timeoutMs) {
    deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  }
  bool Read(char* to, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
      if (!Wait()) return false;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 20));
      DWORD got = 0;
      if (!ReadFile(pipe, to + done, want, &got, nullptr) || got == 0) return false;
      done += got;
    }
    return true;
  }
  bool ReadMessage(std::string& bytes, std::size_t maxBytes) {
    return ReceiveFramed([this](char* to, std::size_t size) { return Read(to, size); }, bytes,
                         maxBytes);
  }

 private:
  // Anonymous pipes cannot be waited on: their content is looked at every millisecond.
  bool Wait() {
    if (timeoutMs < 0) return true;
    while (true) {
      DWORD available = 0;
      if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
      if (available > 0) return true;
      if (std::chrono::steady_clock::now() >= deadline) return false;
      Sleep(1);
    }
  }

  HANDLE pipe;
  int timeoutMs;
  std::chrono::steady_clock::time_point deadline;
};

std::wstring ProgramPath() {
  std::vector<wchar_t> path(MAX_PATH);
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return std::wstring(path.data(), length);
    path.resize(path.size() * 2);
  }
}

// In a helper: its place and pipes, as TakeHelperRole found them on the command line.
struct Assignment {
  int index = -1;
  HANDLE requests = nullptr;
  HANDLE replies = nullptr;
};
Assignment assignment;

void CloseChannel(Channel& channel) {
  for (HANDLE* handle : {&channel.requests, &channel.replies, &channel.process}) {
    if (*handle) CloseHandle(*handle);
    *handle = nullptr;
  }
}

}  // namespace

bool HelperProcess::TakeHelperRole(int argc, const char* const* argv) {
  if (argc != 5 || std::strcmp(argv[1], kHelperOption) != 0) return false;
  char* end = nullptr;
  const long index = std::strtol(argv[2], &end, 10);
  if (*end != '\0' || index < 0) return false;
  HANDLE handles[2] = {nullptr, nullptr};
  for (int i = 0; i < 2; ++i) {
    const unsigned long long value = std::strtoull(argv[3 + i], &end, 10);
    if (*end != '\0' || value == 0) return false;
    handles[i] = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  }
  assignment = Assignment{static_cast<int>(index), handles[0], handles[1]};
  return true;
}

// A helper is this program again, with its place and pipes on its command line: the program
// runs as far as it constructs that helper, which then serves its parent and never returns.
HelperProcess::HelperProcess(Handler handler, std::size_t maxRequestBytes,
                             std::size_t maxReplyBytes, int timeoutMs, std::string warmUp)
    : handler(std::move(handler)),
      maxRequestBytes(maxRequestBytes),
      maxReplyBytes(maxReplyBytes),
      timeoutMs(timeoutMs),
      warmUp(std::move(warmUp)) {
  const int index = constructed++;
  if (assignment.index != index) {
    Channels()[this].index = index;
    return;
  }
  Channels()[this] = Channel{nullptr, assignment.requests, assignment.replies, index};
  Serve(0);
}

HelperProcess::~HelperProcess() {
  Stop(kExitGraceMs);
  Channels().erase(this);
}

bool HelperProcess::Start() {
  Channel& channel = Channels()[this];
  if (child > 0) {
    if (WaitForSingleObject(channel.process, 0) == WAIT_TIMEOUT) return true;
    Stop();  // it ended between two requests
  }
  const HANDLE job = HelperJob();
  if (!job) return false;
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE requestRead = nullptr, requestWrite = nullptr, replyRead = nullptr, replyWrite = nullptr;
  if (!CreatePipe(&requestRead, &requestWrite, &inherited, 0)) return false;
  if (!CreatePipe(&replyRead, &replyWrite, &inherited, 0)) {
    CloseHandle(requestRead);
    CloseHandle(requestWrite);
    return false;
  }
  SetHandleInformation(requestWrite, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(replyRead, HANDLE_FLAG_INHERIT, 0);
  const std::wstring program = ProgramPath();
  std::wstring commandLine = L"\"" + program + L"\" " + Widen(kHelperOption) + L" " +
                             std::to_wstring(channel.index) + L" " +
                             std::to_wstring(reinterpret_cast<std::uintptr_t>(requestRead)) + L" " +
                             std::to_wstring(reinterpret_cast<std::uintptr_t>(replyWrite));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  const bool created = !program.empty() &&
                       CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      CREATE_SUSPENDED, nullptr, nullptr, &startup, &started);
  CloseHandle(requestRead);
  CloseHandle(replyWrite);
  if (created && !AssignProcessToJobObject(job, started.hProcess)) {
    TerminateProcess(started.hProcess, 1);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    CloseHandle(requestWrite);
    CloseHandle(replyRead);
    return false;
  }
  if (!created) {
    CloseHandle(requestWrite);
    CloseHandle(replyRead);
    return false;
  }
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  channel = Channel{started.hProcess, requestWrite, replyRead, channel.index};
  child = static_cast<int>(started.dwProcessId);
  ++starts;
  return true;
}

// The helper's loop: one request, one reply, until the parent closes its end. ExitProcess:
// the helper leaves without the program's exit handlers or destructors.
void HelperProcess::Serve(int) const {
  // A crash ends the helper at once: no error box, no debugger waiting on it.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(
      [](EXCEPTION_POINTERS*) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
  const Channel channel = Channels()[this];
  if (!warmUp.empty()) handler(warmUp);
  Receiver receiver(channel.requests, -1);
  std::string request;
  while (receiver.ReadMessage(request, maxRequestBytes)) {
    if (!SendFramed(WriteTo(channel.replies), handler(request))) ExitProcess(1);
  }
  ExitProcess(0);
}

bool HelperProcess::Call(const std::string& request, std::string& reply) {
  reply.clear();
  if (request.size() > maxRequestBytes || !Start()) return false;
  const Channel& channel = Channels()[this];
  Receiver receiver(channel.replies, timeoutMs);
  if (SendFramed(WriteTo(channel.requests), request) &&
      receiver.ReadMessage(reply, maxReplyBytes)) {
    return true;
  }
  reply.clear();
  Stop();  // crashed, stalled or talking nonsense: the next request gets a fresh helper
  return false;
}

void HelperProcess::Stop(int graceMs) {
  auto found = Channels().find(this);
  if (found == Channels().end()) return;
  Channel& channel = found->second;
  if (channel.requests) CloseHandle(channel.requests);
  channel.requests = nullptr;
  if (channel.process) {
    if (WaitForSingleObject(channel.process, static_cast<DWORD>(graceMs)) != WAIT_OBJECT_0) {
      TerminateProcess(channel.process, 1);
      WaitForSingleObject(channel.process, INFINITE);
    }
  }
  const int index = channel.index;
  CloseChannel(channel);
  channel.index = index;
  child = -1;
}

}  // namespace vorlith
