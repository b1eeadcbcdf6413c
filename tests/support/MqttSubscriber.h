#pragma once

#include "support/Eventually.h"

#include <MQTTAsync.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace vantel::test {

struct ReceivedMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

// A real MQTT client that subscribes to a filter (QoS 1, a persistent
// session under its own id, reconnecting by itself) and keeps everything
// that arrives; it can publish too (a dashboard's commands).
class MqttSubscriber {
public:
    MqttSubscriber(const std::string& brokerUrl, const std::string& clientId, const std::string& filter,
                   const char* user, const char* password)
        : filter_(filter)
    {
        std::string uri = brokerUrl;
        uri.replace(0, uri.find("://"), "tcp");
        MQTTAsync_create(&handle_, uri.c_str(), clientId.c_str(), MQTTCLIENT_PERSISTENCE_NONE, nullptr);
        MQTTAsync_setCallbacks(handle_, this, nullptr, Arrived, nullptr);
        MQTTAsync_setConnected(handle_, this, Connected);
        MQTTAsync_connectOptions options = MQTTAsync_connectOptions_initializer;
        options.cleansession = 0;
        options.username = user;
        options.password = password;
        options.automaticReconnect = 1;
        options.minRetryInterval = 1;
        options.maxRetryInterval = 2;
        options.onSuccess = [](void* context, MQTTAsync_successData*) { Connected(context, nullptr); };
        options.context = this;
        MQTTAsync_connect(handle_, &options);
        Eventually([this] { return subscribed(); });
    }
    ~MqttSubscriber()
    {
        MQTTAsync_disconnectOptions options = MQTTAsync_disconnectOptions_initializer;
        options.timeout = 1000;
        MQTTAsync_disconnect(handle_, &options);
        MQTTAsync_destroy(&handle_);
    }
    MqttSubscriber(const MqttSubscriber&) = delete;
    MqttSubscriber& operator=(const MqttSubscriber&) = delete;

    bool subscribed() const
    {
        const std::lock_guard lock(mutex_);
        return subscribed_;
    }
    std::vector<ReceivedMessage> messages() const
    {
        const std::lock_guard lock(mutex_);
        return messages_;
    }
    std::vector<ReceivedMessage> on(const std::string& topic) const
    {
        std::vector<ReceivedMessage> found;
        for (const ReceivedMessage& message : messages())
            if (message.topic == topic)
                found.push_back(message);
        return found;
    }
    // Publishes at QoS 1 and waits until the broker has it.
    bool publish(const std::string& topic, const std::string& payload)
    {
        MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
        if (MQTTAsync_send(handle_, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 1, 0, &response) !=
            MQTTASYNC_SUCCESS)
            return false;
        return MQTTAsync_waitForCompletion(handle_, response.token, 5000) == MQTTASYNC_SUCCESS;
    }
    // Waits until `count` messages have arrived on `topic`.
    bool waitFor(const std::string& topic, std::size_t count) const
    {
        return Eventually([&] { return on(topic).size() >= count; });
    }

private:
    static void Connected(void* context, char*)
    {
        auto& self = *static_cast<MqttSubscriber*>(context);
        MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
        response.onSuccess = [](void* subscriber, MQTTAsync_successData*) {
            auto& me = *static_cast<MqttSubscriber*>(subscriber);
            const std::lock_guard lock(me.mutex_);
            me.subscribed_ = true;
        };
        response.context = context;
        MQTTAsync_subscribe(self.handle_, self.filter_.c_str(), 1, &response);
    }
    static int Arrived(void* context, char* topic, int length, MQTTAsync_message* message)
    {
        auto& self = *static_cast<MqttSubscriber*>(context);
        ReceivedMessage received{
            length > 0 ? std::string(topic, static_cast<std::size_t>(length)) : topic,
            std::string(static_cast<const char*>(message->payload), static_cast<std::size_t>(message->payloadlen)),
            message->retained != 0};
        MQTTAsync_freeMessage(&message);
        MQTTAsync_free(topic);
        const std::lock_guard lock(self.mutex_);
        self.messages_.push_back(std::move(received));
        return 1;
    }

    const std::string filter_;
    MQTTAsync handle_ = nullptr;
    mutable std::mutex mutex_;
    bool subscribed_ = false;
    std::vector<ReceivedMessage> messages_;
};

} // namespace vantel::test
