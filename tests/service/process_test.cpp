// The vtservice binary as the scripts use it: the ready line, a request, and a clean end on a
// signal. Every wait is bounded; a child that overstays is killed by its own PID.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "raw_client.h"

extern char** environ;

namespace vts {
namespace {

using namespace std::chrono_literals;

class Child {
  public:
    explicit Child(const std::vector<std::string>& args) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> all = {VTSERVICE_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& a : all) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, VTSERVICE_PATH, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Child() {
        if (pid_ > 0 && !status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
    }

    bool Started() const { return pid_ > 0; }

    // The first line of output, or what arrived before the limit or the end.
    std::string FirstLine(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::string text;
        while (text.find('\n') == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) break;
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
            char chunk[256];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) break;
            text.append(chunk, static_cast<std::size_t>(n));
        }
        return text.substr(0, text.find('\n'));
    }

    void Signal(int signal) { ::kill(pid_, signal); }

    // The exit code, or nullopt when it did not end normally within the limit.
    std::optional<int> Wait(std::chrono::milliseconds limit) {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!status_ && std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                status_ = status;
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        if (!status_ || !WIFEXITED(*status_)) return std::nullopt;
        return WEXITSTATUS(*status_);
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    std::optional<int> status_;
};

std::uint16_t PortOf(const std::string& readyLine) {
    return static_cast<std::uint16_t>(std::stoi(readyLine.substr(readyLine.rfind(':') + 1)));
}

TEST(Process, StartsAnswersAndEndsCleanlyOnEachSignal) {
    for (int signal : {SIGTERM, SIGINT}) {
        Child child({"--single", "127.0.0.1", "--port", "0", "--now", "2026-03-10T12:00:00Z"});
        ASSERT_TRUE(child.Started());
        const std::string ready = child.FirstLine(5000ms);
        ASSERT_TRUE(ready.starts_with("vtservice listening on 127.0.0.1:")) << ready;
        const std::uint16_t port = PortOf(ready);
        const auto reply =
            test::ParseReply(test::Exchange(port, test::GetRequest("/", port), 2000ms).bytes);
        ASSERT_TRUE(reply.has_value());
        EXPECT_EQ(reply->status, 200);
        child.Signal(signal);
        EXPECT_EQ(child.Wait(5000ms), 0) << signal;
    }
}

TEST(Process, RefusesToStartOnBadInput) {
    Child first({"--single", "127.0.0.1", "--port", "0"});
    const std::string ready = first.FirstLine(5000ms);
    ASSERT_TRUE(ready.starts_with("vtservice listening on")) << ready;
    const std::string busyPort = std::to_string(PortOf(ready));

    const struct {
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    } cases[] = {
        {{"--fault", "sometimes"}, 2, "vtservice: --fault: unknown mode: sometimes"},
        {{"--single", "10.1.2.3"}, 2, "vtservice: --single: not a 127.x.y.z address"},
        {{"--single", "127.0.0.1", "--port", "0", "--log", "/nonexistent-dir/x.log"},
         1,
         "vtservice: cannot open log file"},
        {{"--single", "127.0.0.1", "--port", busyPort},
         1,
         "vtservice: cannot listen on 127.0.0.1:"},
    };
    for (const auto& c : cases) {
        Child child(c.args);
        ASSERT_TRUE(child.Started());
        const std::string line = child.FirstLine(5000ms);
        EXPECT_TRUE(line.starts_with(c.message)) << line;
        EXPECT_EQ(child.Wait(5000ms), c.exitCode) << c.message;
    }
    first.Signal(SIGTERM);
    EXPECT_EQ(first.Wait(5000ms), 0);
}

}  // namespace
}  // namespace vts
