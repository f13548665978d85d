#include "support/run_quillmark.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstring>

namespace {

// The length of the "YYYY-MM-DD HH:MM:SS.mmm [pid] " prefix of `line`, or 0
// when it has none.
size_t PrefixLength(const std::string& line) {
  static const char kLabel[] = "dddd-dd-dd dd:dd:dd.ddd [";
  const size_t labelLength = sizeof(kLabel) - 1;
  if (line.size() < labelLength + 3) return 0;
  for (size_t i = 0; i < labelLength; ++i) {
    bool digit = line[i] >= '0' && line[i] <= '9';
    if (kLabel[i] == 'd' ? !digit : line[i] != kLabel[i]) return 0;
  }
  size_t end = labelLength;
  while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
  if (end == labelLength || line.compare(end, 2, "] ") != 0) return 0;
  return end + 2;
}

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

}  // namespace

std::vector<std::string> Problems(const RunResult& run) {
  std::vector<std::string> problems;
  for (const std::string& m : run.messages)
    if (m.rfind("Quillmark : ", 0) == 0) problems.push_back(m);
  return problems;
}

std::string MessageOf(const std::string& line) {
  size_t length = PrefixLength(line);
  return length == 0 ? "" : line.substr(length);
}

bool HasLogPrefix(const std::string& line) { return PrefixLength(line) != 0; }

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> ReportWithoutSeconds(const std::string& report) {
  std::vector<std::string> lines;
  for (const std::string& line : SplitLines(report))
    lines.push_back(line.substr(0, line.rfind(",\"seconds\":")));
  return lines;
}

RunResult RunQuillmark(const std::vector<std::string>& args,
                       const std::string& cwd, int timeoutSeconds) {
  ProcessOptions options;
  options.cwd = cwd;
  options.timeoutSeconds = timeoutSeconds;
  return RunQuillmark(args, options);
}

RunResult RunQuillmark(const std::vector<std::string>& args,
                       const ProcessOptions& options) {
  const std::string& cwd = options.cwd;
  RunResult result;
  int out[2], err[2];
  if (pipe(out) != 0 || pipe(err) != 0) return result;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    dup2(err[1], 2);
    close(out[0]); close(out[1]); close(err[0]); close(err[1]);
    if (!cwd.empty() && chdir(cwd.c_str()) != 0) _exit(126);
    if (options.fileSizeLimit >= 0) {
      rlimit limit;
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(options.fileSizeLimit);
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(125);
    }
    for (const auto& [resource, value] : options.limits) {
      rlimit limit;
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(value);
      if (setrlimit(static_cast<__rlimit_resource>(resource), &limit) != 0)
        _exit(125);
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(QUILLMARK_BINARY));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(QUILLMARK_BINARY, argv.data());
    _exit(127);
  }
  close(out[1]);
  close(err[1]);
  if (options.whileRunning) options.whileRunning(pid);
  pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sinks[2] = {&result.output, &result.errors};
  const double deadline = Now() + options.timeoutSeconds;
  int open = 2;
  bool timedOut = false;
  while (open > 0) {
    int wait = static_cast<int>((deadline - Now()) * 1000);
    if (wait <= 0) { timedOut = true; break; }
    if (poll(fds, 2, wait) <= 0) continue;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buf[65536];
      ssize_t n = read(fds[i].fd, buf, sizeof(buf));
      if (n > 0) {
        sinks[i]->append(buf, static_cast<size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
  if (timedOut) kill(pid, SIGKILL);
  for (pollfd& f : fds)
    if (f.fd >= 0) close(f.fd);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!timedOut && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.killedBy = WTERMSIG(status);
  result.lines = SplitLines(result.output);
  for (const std::string& line : result.lines) result.messages.push_back(MessageOf(line));
  return result;
}

bool WaitForCreation(const std::string& folder, const std::string& prefix,
                     pid_t pid) {
  int watch = inotify_init1(IN_CLOEXEC);
  if (watch < 0 || inotify_add_watch(watch, folder.c_str(), IN_CREATE) < 0)
    return false;
  bool seen = false;
  pollfd fd = {watch, POLLIN, 0};
  for (int waited = 0; !seen && waited < 60000; waited += 100) {
    if (poll(&fd, 1, 100) <= 0) {
      siginfo_t info = {};
      // Ended already? (WNOWAIT: the caller still collects its status.)
      if (waitid(P_PID, static_cast<id_t>(pid), &info,
                 WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid)
        break;
      continue;
    }
    alignas(inotify_event) char buf[4096];
    ssize_t n = read(watch, buf, sizeof(buf));
    for (ssize_t at = 0; at < n;) {
      const inotify_event* event = reinterpret_cast<const inotify_event*>(buf + at);
      if (event->len > 0 && std::string(event->name).rfind(prefix, 0) == 0)
        seen = true;
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  }
  close(watch);
  return seen;
}
