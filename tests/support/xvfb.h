#pragma once
// An Xvfb server for the window tests, on a display it picks itself.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace testsupport {

// Starts Xvfb with one screen of this geometry; returns its pid and the
// display name, or -1.
inline pid_t startXvfb(const char* screen, std::string& name) {
  int p[2];
  if (pipe(p) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(p[0]);
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive the test program
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::string fd = std::to_string(p[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(p[1]);
  // Xvfb writes the display number it chose, then a line feed, when it is
  // ready.
  std::string number;
  pollfd pf{p[0], POLLIN, 0};
  char c = 0;
  while (poll(&pf, 1, 15000) == 1 && read(p[0], &c, 1) == 1 && c != '\n') number += c;
  close(p[0]);
  if (c != '\n' || number.empty()) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  name = ":" + number;
  return pid;
}

// Ends a server that startXvfb started; pid becomes -1.
inline void stopXvfb(pid_t& pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  pid = -1;
}

}  // namespace testsupport
