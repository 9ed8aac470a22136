// zorvane-devportal: the stand-in portal and web site on a loopback port.
#include "devportal.h"

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
                 "usage: zorvane-devportal [--port N] [--idle-minutes M] [--fault PREFIX=MODE]...\n"
                 "  --port 0 (the default) picks a free port; it binds 127.0.0.1 only\n"
                 "  MODE: refuse stall cut not-utf8 not-gb2312 huge slow\n");
}
} // namespace

int main(int argc, char** argv) {
    int port = 0;
    zvdev::Options options;
    std::vector<std::pair<std::string, zvdev::Fault>> faults;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--port" && hasValue) {
            port = std::atoi(argv[++i]);
        } else if (a == "--idle-minutes" && hasValue) {
            options.idleMinutes = std::atoi(argv[++i]);
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
    zvdev::DevPortal portal(options);
    if (!portal.start(port)) {
        std::fprintf(stderr, "zorvane-devportal: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    for (const auto& [prefix, fault] : faults) portal.setFault(prefix, fault);
    const zvdev::Account a = portal.account();
    std::printf("port: %d\naccount: %s\npassword: %s\n", portal.port(), a.number.c_str(), a.password.c_str());
    std::fflush(stdout);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!quit) ::pause();
    portal.stop();
    return 0;
}
