#include "logging/MqttClient.h"

#include <MQTTAsync.h>

#include <charconv>

namespace vantel {
namespace {

// Messages handed to the library and not yet acknowledged, at most.
constexpr int kWindow = 64;
constexpr int kKeepAliveSeconds = 20;
constexpr int kMinRetrySeconds = 1;
constexpr int kMaxRetrySeconds = 30;
// How long the sender waits before trying again after the library refused
// a message (the connection had just gone).
constexpr std::chrono::milliseconds kRetrySend{100};
constexpr std::chrono::milliseconds kOfflineWait{2000};

const char* const kOnline = "online";
const char* const kOffline = "offline";

MQTTAsync Handle(void* handle)
{
    return static_cast<MQTTAsync>(handle);
}

// What a refused CONNECT's return code means (MQTT 3.1.1, 3.2.2.3).
std::string RefusalText(int code)
{
    switch (code) {
    case 1:
        return "the broker refused the protocol version";
    case 2:
        return "the broker refused the client id";
    case 3:
        return "the broker is unavailable";
    case 4:
        return "the broker refused the login: bad user name or password";
    case 5:
        return "the broker refused the login: not authorised";
    default:
        return {};
    }
}

} // namespace

std::string BrokerAddress::libraryUri() const
{
    return std::string(tls ? "ssl://" : "tcp://") + host + ":" + std::to_string(port);
}

std::optional<BrokerAddress> ParseBrokerUrl(std::string_view url, std::string& why)
{
    BrokerAddress address;
    std::string_view rest;
    if (url.starts_with("mqtt://")) {
        rest = url.substr(7);
        address.port = 1883;
    } else if (url.starts_with("mqtts://")) {
        rest = url.substr(8);
        address.tls = true;
        address.port = 8883;
    } else {
        why = "--mqtt needs mqtt://host[:port] or mqtts://host[:port]";
        return std::nullopt;
    }
    if (!rest.empty() && rest.back() == '/')
        rest.remove_suffix(1);
    const auto colon = rest.rfind(':');
    if (colon != std::string_view::npos && rest.find(']') == std::string_view::npos) {
        const std::string_view portText = rest.substr(colon + 1);
        int port = 0;
        const auto [end, error] = std::from_chars(portText.data(), portText.data() + portText.size(), port);
        if (error != std::errc() || end != portText.data() + portText.size() || port < 1 || port > 65535) {
            why = "--mqtt: the port must be 1-65535";
            return std::nullopt;
        }
        address.port = port;
        rest = rest.substr(0, colon);
    }
    if (rest.empty() || rest.find('/') != std::string_view::npos) {
        why = "--mqtt needs a host name: mqtt://host[:port]";
        return std::nullopt;
    }
    address.host = std::string(rest);
    return address;
}

// The library calls back through these, with the client as the context.
struct MqttCallbacks {
    static MqttClient& Of(void* context) { return *static_cast<MqttClient*>(context); }

    static void Connected(void* context, char*) { Of(context).onConnected(); }
    static void ConnectionLost(void* context, char*) { Of(context).onConnectionLost(); }
    static int Message(void* context, char* topic, int topicLength, MQTTAsync_message* message)
    {
        const std::string name =
            topicLength > 0 ? std::string(topic, static_cast<std::size_t>(topicLength)) : std::string(topic);
        const std::string payload(static_cast<const char*>(message->payload),
                                  static_cast<std::size_t>(message->payloadlen));
        MQTTAsync_freeMessage(&message);
        MQTTAsync_free(topic);
        Of(context).onMessage(name, payload);
        return 1;
    }
    static void ConnectSucceeded(void* context, MQTTAsync_successData*)
    {
        Of(context).onConnected();
        Of(context).onConnectAnswer({});
    }
    static void ConnectFailed(void* context, MQTTAsync_failureData* data)
    {
        std::string why = data ? RefusalText(data->code) : std::string();
        if (why.empty() && data && data->message)
            why = data->message;
        Of(context).onConnectAnswer(why.empty() ? std::string("no answer from the broker") : why);
    }
    static void Sent(void* context, MQTTAsync_successData*) { Of(context).onSent(true); }
    static void SendFailed(void* context, MQTTAsync_failureData*) { Of(context).onSent(false); }
    static int TlsError(const char* text, std::size_t length, void* context)
    {
        Of(context).onTlsError(std::string(text, length));
        return 0;
    }
};

MqttClient::MqttClient(MqttSettings settings) : settings_(std::move(settings)), queue_(settings_.queueLimit)
{
    MQTTAsync_createOptions create = MQTTAsync_createOptions_initializer;
    create.sendWhileDisconnected = 0; // the queue here holds them, bounded and counted
    MQTTAsync handle = nullptr;
    MQTTAsync_createWithOptions(&handle, settings_.broker.libraryUri().c_str(), settings_.clientId.c_str(),
                                MQTTCLIENT_PERSISTENCE_NONE, nullptr, &create);
    handle_ = handle;
    MQTTAsync_setCallbacks(handle, this, MqttCallbacks::ConnectionLost, MqttCallbacks::Message, nullptr);
    MQTTAsync_setConnected(handle, this, MqttCallbacks::Connected);
    sender_ = std::thread([this] { sendLoop(); });
}

MqttClient::~MqttClient()
{
    close(std::chrono::milliseconds(0));
}

void MqttClient::subscribe(std::string filter, MessageHandler handler)
{
    filter_ = std::move(filter);
    handler_ = std::move(handler);
}

std::string MqttClient::connect(std::chrono::milliseconds timeout)
{
    MQTTAsync_willOptions will = MQTTAsync_willOptions_initializer;
    will.topicName = settings_.statusTopic.c_str();
    will.message = kOffline;
    will.retained = 1;
    will.qos = 1;

    MQTTAsync_SSLOptions tls = MQTTAsync_SSLOptions_initializer;
    tls.trustStore = settings_.caFile.empty() ? nullptr : settings_.caFile.c_str();
    tls.keyStore = settings_.certFile.empty() ? nullptr : settings_.certFile.c_str();
    tls.privateKey = settings_.keyFile.empty() ? nullptr : settings_.keyFile.c_str();
    tls.enableServerCertAuth = 1;
    tls.verify = 1; // the certificate must name the host
    tls.ssl_error_cb = MqttCallbacks::TlsError;
    tls.ssl_error_context = this;

    MQTTAsync_connectOptions options = MQTTAsync_connectOptions_initializer;
    options.keepAliveInterval = kKeepAliveSeconds;
    options.cleansession = 0;
    options.maxInflight = kWindow;
    options.will = settings_.statusTopic.empty() ? nullptr : &will;
    options.username = settings_.user.empty() ? nullptr : settings_.user.c_str();
    options.password = settings_.password && !settings_.user.empty() ? settings_.password->c_str() : nullptr;
    options.connectTimeout = static_cast<int>(std::max<std::int64_t>(1, timeout.count() / 1000));
    options.automaticReconnect = 1;
    options.minRetryInterval = kMinRetrySeconds;
    options.maxRetryInterval = kMaxRetrySeconds;
    options.ssl = settings_.broker.tls ? &tls : nullptr;
    options.onSuccess = MqttCallbacks::ConnectSucceeded;
    options.onFailure = MqttCallbacks::ConnectFailed;
    options.context = this;

    const int started = MQTTAsync_connect(Handle(handle_), &options);
    if (started != MQTTASYNC_SUCCESS)
        return MQTTAsync_strerror(started);
    std::unique_lock lock(mutex_);
    // The library's own time-out answers first; the margin only guards a hang.
    if (!changed_.wait_for(lock, timeout + std::chrono::seconds(5), [this] { return connectOutcome_.has_value(); }))
        return "no answer from the broker";
    if (connectOutcome_->empty())
        return {};
    if (!tlsError_.empty())
        return *connectOutcome_ + " (" + tlsError_ + ")";
    return *connectOutcome_;
}

void MqttClient::publish(OutboundMessage message)
{
    bool wasEmpty = false;
    {
        const std::lock_guard lock(mutex_);
        wasEmpty = queue_.empty();
        queue_.push(std::move(message));
    }
    // The sender waits for an empty queue to fill, for room in the window
    // (onSent wakes it) or for the connection (onConnected does): a message
    // behind others needs no wake-up of its own.
    if (wasEmpty)
        changed_.notify_all();
}

bool MqttClient::drain(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return queue_.empty() && inFlight_ == 0; });
}

void MqttClient::close(std::chrono::milliseconds drainTimeout)
{
    if (!handle_)
        return;
    drain(drainTimeout);
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (sender_.joinable())
        sender_.join();
    MQTTAsync handle = Handle(handle_);
    if (MQTTAsync_isConnected(handle) && !settings_.statusTopic.empty()) {
        // A clean disconnect sends no will: say it here.
        MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
        MQTTAsync_message message = MQTTAsync_message_initializer;
        message.payload = const_cast<char*>(kOffline);
        message.payloadlen = static_cast<int>(std::char_traits<char>::length(kOffline));
        message.qos = 1;
        message.retained = 1;
        if (MQTTAsync_sendMessage(handle, settings_.statusTopic.c_str(), &message, &response) == MQTTASYNC_SUCCESS)
            MQTTAsync_waitForCompletion(handle, response.token, static_cast<unsigned long>(kOfflineWait.count()));
    }
    MQTTAsync_disconnectOptions disconnect = MQTTAsync_disconnectOptions_initializer;
    disconnect.timeout = static_cast<int>(kOfflineWait.count());
    MQTTAsync_disconnect(handle, &disconnect);
    MQTTAsync_destroy(&handle);
    handle_ = nullptr;
}

bool MqttClient::connected() const
{
    const std::lock_guard lock(mutex_);
    return connected_;
}

long MqttClient::dropped() const
{
    const std::lock_guard lock(mutex_);
    return queue_.dropped();
}

long MqttClient::acknowledged() const
{
    const std::lock_guard lock(mutex_);
    return acknowledged_;
}

std::size_t MqttClient::waiting() const
{
    const std::lock_guard lock(mutex_);
    return queue_.size() + static_cast<std::size_t>(inFlight_);
}

// After the first connect and after every reconnect; whichever of the
// library's two callbacks comes first does it.
void MqttClient::onConnected()
{
    {
        const std::lock_guard lock(mutex_);
        if (connected_)
            return;
        connected_ = true;
    }
    if (!settings_.statusTopic.empty())
        send({settings_.statusTopic, kOnline, true}, false);
    subscribeFilter();
    changed_.notify_all();
}

void MqttClient::onConnectionLost()
{
    {
        const std::lock_guard lock(mutex_);
        connected_ = false;
    }
    changed_.notify_all();
}

void MqttClient::onMessage(const std::string& topic, const std::string& payload)
{
    if (handler_)
        handler_(topic, payload);
}

void MqttClient::onConnectAnswer(std::string why)
{
    {
        const std::lock_guard lock(mutex_);
        if (!connectOutcome_)
            connectOutcome_ = std::move(why);
    }
    changed_.notify_all();
}

void MqttClient::onSent(bool acknowledged)
{
    {
        const std::lock_guard lock(mutex_);
        --inFlight_;
        if (acknowledged)
            ++acknowledged_;
    }
    changed_.notify_all();
}

void MqttClient::onTlsError(std::string text)
{
    const std::lock_guard lock(mutex_);
    tlsError_ = std::move(text);
}

int MqttClient::send(const OutboundMessage& message, bool counted)
{
    MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
    if (counted) {
        response.onSuccess = MqttCallbacks::Sent;
        response.onFailure = MqttCallbacks::SendFailed;
        response.context = this;
    }
    MQTTAsync_message out = MQTTAsync_message_initializer;
    out.payload = const_cast<char*>(message.payload.data());
    out.payloadlen = static_cast<int>(message.payload.size());
    out.qos = 1;
    out.retained = message.retained ? 1 : 0;
    return MQTTAsync_sendMessage(Handle(handle_), message.topic.c_str(), &out, &response);
}

void MqttClient::subscribeFilter()
{
    if (filter_.empty())
        return;
    MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
    MQTTAsync_subscribe(Handle(handle_), filter_.c_str(), 1, &response);
}

void MqttClient::sendLoop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || (connected_ && !queue_.empty() && inFlight_ < kWindow); });
        if (stopping_)
            return;
        OutboundMessage message = *queue_.pop();
        ++inFlight_;
        lock.unlock();
        const int handed = send(message, true);
        lock.lock();
        if (handed != MQTTASYNC_SUCCESS) {
            --inFlight_;
            queue_.putBack(std::move(message));
            changed_.wait_for(lock, kRetrySend, [this] { return stopping_; });
        }
    }
}

} // namespace vantel
