// Runs one command and prints its wall time and peak resident set size, with finer time
// resolution than the shell's tools. The command's standard output is discarded, so printing
// does not count as loading; its standard error passes through.
//
// usage: measure_run COMMAND [ARGS...]
// prints: <wall seconds> <peak RSS in KiB> <exit status>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: measure_run COMMAND [ARGS...]\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child < 0) {
    std::perror("fork");
    return 1;
  }
  if (child == 0) {
    const int devnull = open("/dev/null", O_WRONLY);
    if (devnull >= 0) dup2(devnull, STDOUT_FILENO);
    execvp(argv[1], argv + 1);
    std::perror(argv[1]);
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  pid_t waited = 0;
  do {
    waited = wait4(child, &status, 0, &usage);
  } while (waited < 0 && errno == EINTR);
  const auto stop = std::chrono::steady_clock::now();
  if (waited < 0) {
    std::perror("wait4");
    return 1;
  }
  const double seconds = std::chrono::duration<double>(stop - start).count();
  const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  std::printf("%.6f %ld %d\n", seconds, static_cast<long>(usage.ru_maxrss), exitStatus);
  return 0;
}
