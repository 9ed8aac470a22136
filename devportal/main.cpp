// zorvane-devportal: the stand-in portal and web site on a loopback port.
#include "devportal/devportal.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {
volatile std::sig_atomic_t quit = 0;
void OnSignal(int) { quit = 1; }

void Usage() {
    std::fprintf(stderr,
                 "usage: zorvane-devportal [--port N] [--idle-minutes M] [--fault PREFIX=MODE]... [--log-file F] [--state-file F]\n"
                 "  --port 0 (the default) picks a free port; it binds 127.0.0.1 only\n"
                 "  MODE: refuse stall cut not-utf8 not-gb2312 huge slow\n");
}
} // namespace

int main(int argc, char** argv) {
    int port = 0;
    std::string logFile, stateFile;
    zvdev::Options options;
    std::vector<std::pair<std::string, zvdev::Fault>> faults;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--port" && hasValue) {
            port = std::atoi(argv[++i]);
        } else if (a == "--idle-minutes" && hasValue) {
            options.idleMinutes = std::atoi(argv[++i]);
        } else if (a == "--log-file" && hasValue) {
            logFile = argv[++i];
        } else if (a == "--state-file" && hasValue) {
            stateFile = argv[++i];
        } else if (a == "--fault" && hasValue) {
            const std::string f = argv[++i];
            const auto eq = f.rfind('=');
            if (eq == std::string::npos) {
                Usage();
                return 2;
            }
            faults.emplace_back(f.substr(0, eq), zvdev::ParseFault(f.substr(eq + 1)));
        } else {
            Usage();
            return a == "--help" ? 0 : 2;
        }
    }
    options.onCaptcha = [](const std::string& digits) {
        std::printf("captcha: %s\n", digits.c_str());
        std::fflush(stdout);
    };
    // For scripts that check what reached the portal: one line per request, and the
    // account's state after each one.
    options.onRequest = [&logFile, &stateFile](const zvdev::LoggedRequest& r, const zvdev::Account& a) {
        if (!logFile.empty()) {
            std::string body = r.body;
            for (char& c : body)
                if (c == '\n' || c == '\r') c = ' ';
            if (FILE* f = std::fopen(logFile.c_str(), "a")) {
                std::fprintf(f, "%s %s %s %s\n", r.method.c_str(), r.target.c_str(), r.version.c_str(), body.c_str());
                std::fclose(f);
            }
        }
        if (!stateFile.empty()) {
            std::string s = "password=" + a.password + "\nforwards=";
            for (const auto& fw : a.forwards) s += fw.number + ":" + fw.memo + ",";
            s += "\ncalls=";
            for (const auto& c : a.calls) s += c.caller + ">" + c.callee + ",";
            s += "\nsettings=" + std::to_string(a.transType) + std::to_string(a.transCallerType) +
                 std::to_string(a.ringType) + std::to_string(a.ringMode) + std::to_string(a.forbidFlag) +
                 std::to_string(a.isMsg) + std::to_string(a.ringId) + "\nblacklist=" + std::to_string(a.blacklist.size()) + "\n";
            const std::string tmp = stateFile + ".part";
            if (FILE* f = std::fopen(tmp.c_str(), "w")) {
                std::fputs(s.c_str(), f);
                std::fclose(f);
                std::rename(tmp.c_str(), stateFile.c_str());
            }
        }
    };
    zvdev::DevPortal portal(options);
    if (!portal.Start(port)) {
        std::fprintf(stderr, "zorvane-devportal: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    for (const auto& [prefix, fault] : faults) portal.SetFault(prefix, fault);
    const zvdev::Account a = portal.account();
    std::printf("port: %d\naccount: %s\npassword: %s\n", portal.port(), a.number.c_str(), a.password.c_str());
    std::fflush(stdout);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!quit) ::pause();
    portal.Stop();
    return 0;
}
