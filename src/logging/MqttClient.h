#pragma once

#include "logging/OutboundQueue.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace vantel {

// Where the broker is: mqtt://host[:1883] or mqtts://host[:8883].
struct BrokerAddress {
    bool tls = false;
    std::string host;
    int port = 0;
    // The address as the client library takes it (tcp://, ssl://).
    std::string libraryUri() const;
};

// nullopt, with `why` set, for a URL of another form.
std::optional<BrokerAddress> ParseBrokerUrl(std::string_view url, std::string& why);

struct MqttSettings {
    BrokerAddress broker;
    // Kept from one run to the next, so the broker keeps the session (QoS 1
    // messages in flight, the command subscription) across reconnects.
    std::string clientId;
    std::string user;                    // no login when empty
    std::optional<std::string> password; // only with a user
    std::string caFile;                  // TLS: the system's CA store when empty
    std::string certFile;                // TLS: client certificate (PEM), if any
    std::string keyFile;                 // and its key, when not in certFile
    // Retained "online" once connected; "offline" as the last will and at
    // the end of the run.
    std::string statusTopic;
    std::size_t queueLimit = 100000;
};

// One connection to the broker, with a queue in front of it. publish()
// only queues (never waits for the network); a thread of its own hands the
// messages on in order, QoS 1, while connected, and the library reconnects
// with a back-off (1 s doubling to 30 s) after the connection is lost. While
// the broker is away the queue holds at most queueLimit messages, then drops
// the oldest and counts them.
//
// Threads: the library's callbacks run on its own threads; everything they
// share with the sender is under `mutex_`. close() (or the destructor)
// joins the sender and destroys the library's client before anything they
// call goes.
class MqttClient {
public:
    using MessageHandler = std::function<void(const std::string& topic, const std::string& payload)>;

    explicit MqttClient(MqttSettings settings);
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Before connect(): subscribes to `filter` (QoS 1) on every connection;
    // what arrives goes to `handler`, on the library's thread.
    void subscribe(std::string filter, MessageHandler handler);
    // Connects and waits for the broker's answer: empty once connected,
    // else why not ("bad user name or password", a certificate that does
    // not verify, no broker at that address).
    std::string connect(std::chrono::milliseconds timeout);
    void publish(OutboundMessage message);
    // Waits until every message queued so far has been acknowledged, or
    // `timeout` has passed; true when all were.
    bool drain(std::chrono::milliseconds timeout);
    // Publishes "offline" on the status topic, disconnects and stops.
    void close(std::chrono::milliseconds drainTimeout);

    bool connected() const;
    long dropped() const;
    long acknowledged() const;
    std::size_t waiting() const;

private:
    friend struct MqttCallbacks; // the library's callbacks, which call the handlers below

    void onConnected();
    void onConnectionLost();
    void onMessage(const std::string& topic, const std::string& payload);
    void onConnectAnswer(std::string why);
    void onSent(bool acknowledged);
    void onTlsError(std::string text);

    void sendLoop();
    // The library's code for handing the message on; `counted` ones are
    // tracked as in flight until the broker acknowledges them.
    int send(const OutboundMessage& message, bool counted);
    void subscribeFilter();

    const MqttSettings settings_;
    void* handle_ = nullptr; // MQTTAsync
    std::string filter_;     // none when empty
    MessageHandler handler_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    OutboundQueue queue_;
    bool connected_ = false;
    bool stopping_ = false;
    int inFlight_ = 0;
    long acknowledged_ = 0;
    std::optional<std::string> connectOutcome_; // set by the first connect's answer
    std::string tlsError_;

    std::thread sender_; // last: joined before the rest goes
};

} // namespace vantel
