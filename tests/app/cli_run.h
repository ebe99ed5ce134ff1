// Runs the built command-line program as a script would.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CliResult {
  int status;
  std::string output;  // standard output and error together
};

inline CliResult RunCli(const std::string& arguments) {
  const std::string command = std::string(SONDRIX_CLI) + " " + arguments + " 2>&1";
  CliResult r{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.output.append(buffer, n);
  const int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

inline const std::string kExample = std::string(SONDRIX_SOURCE_DIR) + "/examples/core_ocean.tab";
