#pragma once

#include "support/TempFolder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace vantel::test {

// A mosquitto of the test's own (never the system service): a config file
// in a temporary folder, a plain and a TLS listener on free loopback ports,
// logins from a password file made with mosquitto_passwd, a CA and a server
// certificate for 127.0.0.1 made with openssl, and persistence, so a
// restart keeps the sessions and their queued messages. The process is
// killed and waited for when the fixture goes.
class PrivateBroker {
public:
    static constexpr const char* kUser = "vantel";
    static constexpr const char* kPassword = "s3cret pass";

    PrivateBroker()
    {
        plainPort_ = FreePort();
        tlsPort_ = FreePort();
        const std::string dir = folder_.folder();
        run("mosquitto_passwd -b -c '" + dir + "passwd' " + kUser + " '" + kPassword + "'");
        makeCertificates(dir);
        std::ofstream config(dir + "mosquitto.conf");
        // Started by root it would become the user "mosquitto", who may not
        // read the test's folder.
        const passwd* self = ::getpwuid(::geteuid());
        config << "user " << (self ? self->pw_name : "root") << "\n";
        config << "per_listener_settings false\nallow_anonymous false\npassword_file " << dir << "passwd\n"
               << "persistence true\npersistence_location " << dir << "\nautosave_interval 1\n"
               << "log_dest none\nmax_queued_messages 0\nmax_inflight_messages 0\n"
               << "listener " << plainPort_ << " 127.0.0.1\n"
               << "listener " << tlsPort_ << " 127.0.0.1\ncafile " << dir << "ca.crt\ncertfile " << dir
               << "server.crt\nkeyfile " << dir << "server.key\n";
        config.close();
        start();
    }
    ~PrivateBroker() { stop(); }
    PrivateBroker(const PrivateBroker&) = delete;
    PrivateBroker& operator=(const PrivateBroker&) = delete;

    std::string url() const { return "mqtt://127.0.0.1:" + std::to_string(plainPort_); }
    std::string tlsUrl() const { return "mqtts://127.0.0.1:" + std::to_string(tlsPort_); }
    int plainPort() const { return plainPort_; }
    std::string caFile() const { return folder_.folder() + "ca.crt"; }
    // A CA the broker's certificate does not come from.
    std::string otherCaFile() const { return folder_.folder() + "other-ca.crt"; }
    std::string folder() const { return folder_.folder(); }

    // Starts the broker and waits until it takes connections.
    void start()
    {
        const std::string config = folder_.folder() + "mosquitto.conf";
        std::vector<char*> argv = {const_cast<char*>("/usr/sbin/mosquitto"), const_cast<char*>("-c"),
                                   const_cast<char*>(config.c_str()), nullptr};
        // Quiet: it warns on stderr when it runs as root.
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        if (::posix_spawn(&pid_, argv[0], &quiet, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&quiet);
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (pid_ > 0 && !Accepts(plainPort_) && std::chrono::steady_clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Stops it (SIGTERM: it saves its sessions) and waits for the process.
    void stop()
    {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    bool running() const { return pid_ > 0; }

private:
    static void run(const std::string& command)
    {
        const std::string quiet = command + " >/dev/null 2>&1";
        if (std::system(quiet.c_str()) != 0)
            throw std::runtime_error("failed: " + command);
    }

    void makeCertificates(const std::string& dir)
    {
        const std::string ssl = "openssl ";
        for (const char* ca : {"ca", "other-ca"})
            run(ssl + "req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=" + ca + " -keyout '" + dir + ca +
                ".key' -out '" + dir + ca + ".crt'");
        run(ssl + "req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout '" + dir + "server.key' -out '" + dir +
            "server.csr'");
        std::ofstream(dir + "san.ext") << "subjectAltName=IP:127.0.0.1,DNS:localhost\n";
        run(ssl + "x509 -req -days 2 -in '" + dir + "server.csr' -CA '" + dir + "ca.crt' -CAkey '" + dir +
            "ca.key' -CAcreateserial -extfile '" + dir + "san.ext' -out '" + dir + "server.crt'");
    }

    static int FreePort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
        ::close(fd);
        return ntohs(address.sin_port);
    }

    static bool Accepts(int port)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return connected;
    }

    TempFolder folder_;
    int plainPort_ = 0;
    int tlsPort_ = 0;
    pid_t pid_ = -1;
};

} // namespace vantel::test
