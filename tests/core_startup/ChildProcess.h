// A process a test starts and waits for; ended and waited for when the test
// is done, should it still run.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

class Child {
public:
    // Starts `argv` with `environment` (this process's when null); `fd3`,
    // when given, becomes the child's descriptor 3, and its output goes to
    // the file `errors` when given.
    bool Start(const std::vector<std::string>& argv, char** environment = nullptr, int fd3 = -1,
               const std::string& errors = "") {
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (fd3 >= 0) posix_spawn_file_actions_adddup2(&actions, fd3, 3);
        if (!errors.empty()) {
            posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            posix_spawn_file_actions_adddup2(&actions, 2, 1);
        }
        const bool started = posix_spawnp(&m_pid, args[0], &actions, nullptr, args.data(),
                                          environment != nullptr ? environment : environ) == 0;
        posix_spawn_file_actions_destroy(&actions);
        return started;
    }
    // The exit status once it has ended within `seconds`, else -1 (also
    // when a signal ended it: EndingSignal() says which).
    int Wait(int seconds) {
        for (int i = 0; i < seconds * 20 && m_pid > 0; ++i) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_pid = 0;
                m_endingSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }
    int EndingSignal() const { return m_endingSignal; }
    // Whether it has a file whose path ends with `name` open.
    bool HasOpen(const std::string& name) const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/" + std::to_string(m_pid) + "/fd", ec)) {
            const std::string target = std::filesystem::read_symlink(entry.path(), ec).string();
            if (target.size() >= name.size() && target.compare(target.size() - name.size(), name.size(), name) == 0)
                return true;
        }
        return false;
    }
    void Signal(int signal) const {
        if (m_pid > 0) kill(m_pid, signal);
    }
    // Asked to end first; a process that does not within ten seconds is killed.
    ~Child() {
        if (m_pid <= 0) return;
        kill(m_pid, SIGTERM);
        if (Wait(10) != -1 || m_pid <= 0) return;
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
    }

private:
    pid_t m_pid = 0;
    int m_endingSignal = 0;
};
