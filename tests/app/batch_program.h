#pragma once

// Runs the built batch program against the local server, each time as a copy in a program
// folder of its own: the folder where it reads Config.ini and writes its logs. A symbolic link
// would not do, since the program finds its folder through the resolved path of its file.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "test_database.h"

namespace test_support {

struct BatchResult {
    int status = -1;  // the exit status; -1 when the program did not exit on its own
    int signal = 0;   // the signal that ended it, if one did
    std::string out;
    std::string err;
};

// How to start the program besides its arguments.
struct BatchStart {
    std::string input;             // its standard input, a file (not a terminal)
    bool waitingInput = false;     // instead, a pipe that stays empty: a question waits for ever
    std::string folder;            // its current folder; empty: the test's own
    std::vector<std::string> env;  // "NAME=value" added to the environment
    bool asNobody = false;         // run as the unprivileged user "nobody"
};

// A program started and not yet waited for.
class RunningBatch {
public:
    RunningBatch(pid_t pid, std::string outPath, std::string errPath, int inputPipe)
        : pid_(pid), outPath_(std::move(outPath)), errPath_(std::move(errPath)), inputPipe_(inputPipe) {}
    ~RunningBatch() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (inputPipe_ >= 0) ::close(inputPipe_);
    }
    RunningBatch(const RunningBatch&) = delete;
    RunningBatch& operator=(const RunningBatch&) = delete;

    void signal(int number) const { ::kill(pid_, number); }

    // Whether the program has ended; waits for nothing.
    bool ended() {
        int status = 0;
        if (pid_ <= 0) return true;
        if (::waitpid(pid_, &status, WNOHANG) != pid_) return false;
        status_ = status;
        pid_ = 0;
        return true;
    }

    BatchResult wait() {
        if (pid_ > 0) {
            ::waitpid(pid_, &status_, 0);
            pid_ = 0;
        }
        BatchResult result;
        if (WIFEXITED(status_)) result.status = WEXITSTATUS(status_);
        if (WIFSIGNALED(status_)) result.signal = WTERMSIG(status_);
        result.out = readFile(outPath_);
        result.err = readFile(errPath_);
        return result;
    }

    // What it has written to its standard error so far.
    std::string errorsSoFar() const { return readFile(errPath_); }

private:
    pid_t pid_;
    int status_ = 0;
    std::string outPath_;
    std::string errPath_;
    int inputPipe_;
};

// A copy of the batch program in a fresh program folder, removed with it.
class BatchProgram {
public:
    BatchProgram() {
        std::string root = (std::filesystem::temp_directory_path() / "tavlo-merak-batch-XXXXXX").string();
        if (::mkdtemp(root.data()) == nullptr) throw std::runtime_error("cannot create a folder");
        // Open to every user, for the runs as "nobody".
        ::chmod(root.c_str(), 0755);
        root_ = root;
        folder_ = root_ + "/programa/";
        std::filesystem::create_directory(folder_);
        std::filesystem::copy_file(BATCH_PROGRAM, folder_ + "tavlo-merak-batch");
    }
    ~BatchProgram() {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    BatchProgram(const BatchProgram&) = delete;
    BatchProgram& operator=(const BatchProgram&) = delete;

    // The program folder, with its trailing separator.
    const std::string& folder() const { return folder_; }
    // A folder beside the program folder that the test may use, with its trailing separator.
    const std::string& root() const { return root_; }

    void writeSettings(const std::string& origem, const std::string& destino) const {
        std::ofstream(folder_ + "Config.ini", std::ios::binary)
            << "[Bancos]\r\nOrigem=" << origem << "\r\nDestino=" << destino << "\r\n";
    }

    RunningBatch start(const std::vector<std::string>& arguments, const BatchStart& how = {}) const {
        const std::string in = root_ + "/entrada";
        const std::string out = root_ + "/saida";
        const std::string err = root_ + "/erros";
        std::ofstream(in, std::ios::binary) << how.input;
        std::filesystem::remove(out);
        std::filesystem::remove(err);

        // Everything the child needs is built before the fork: after it, only plain calls.
        const std::string program = folder_ + "tavlo-merak-batch";
        std::vector<std::string> argv = {program};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        std::vector<char*> argvPointers;
        for (std::string& argument : argv) argvPointers.push_back(argument.data());
        argvPointers.push_back(nullptr);
        std::vector<std::string> env;
        for (char** variable = environ; *variable != nullptr; ++variable) env.emplace_back(*variable);
        env.insert(env.end(), how.env.begin(), how.env.end());
        std::vector<char*> envPointers;
        for (std::string& variable : env) envPointers.push_back(variable.data());
        envPointers.push_back(nullptr);
        uid_t uid = 0;
        gid_t gid = 0;
        if (how.asNobody) {
            const passwd* nobody = ::getpwnam("nobody");
            if (nobody == nullptr) throw std::runtime_error("no user nobody");
            uid = nobody->pw_uid;
            gid = nobody->pw_gid;
            // The runs as "nobody" write their output files as that user.
            for (const std::string& file : {out, err}) {
                std::ofstream(file).flush();
                ::chown(file.c_str(), uid, gid);
            }
        }

        int pipeEnds[2] = {-1, -1};
        if (how.waitingInput && ::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("cannot make a pipe");
        const pid_t pid = ::fork();
        if (pid < 0) throw std::runtime_error("cannot fork");
        if (pid == 0) {
            const int inFd = how.waitingInput ? pipeEnds[0] : ::open(in.c_str(), O_RDONLY);
            const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (inFd < 0 || outFd < 0 || errFd < 0) ::_exit(120);
            ::dup2(inFd, 0);
            ::dup2(outFd, 1);
            ::dup2(errFd, 2);
            if (!how.folder.empty() && ::chdir(how.folder.c_str()) != 0) ::_exit(121);
            if (how.asNobody && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
                ::_exit(122);
            // A test's own signal mask and dispositions are not the program's.
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::execve(program.c_str(), argvPointers.data(), envPointers.data());
            ::_exit(123);
        }
        if (how.waitingInput) ::close(pipeEnds[0]);
        return RunningBatch(pid, out, err, pipeEnds[1]);
    }

    BatchResult run(const std::vector<std::string>& arguments, const std::string& input = "") const {
        BatchStart how;
        how.input = input;
        return start(arguments, how).wait();
    }

    BatchResult run(const std::vector<std::string>& arguments, const BatchStart& how) const {
        return start(arguments, how).wait();
    }

private:
    std::string root_;
    std::string folder_;
};

}  // namespace test_support
