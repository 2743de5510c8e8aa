// SPDX-License-Identifier: MIT
// The simulator's one MQTT connection, on the Paho C asynchronous library.
#include "simulator/MqttClient.h"

#include <climits>
#include <functional>
#include <memory>

#include "text/CHandle.h"

namespace qm {
namespace {

constexpr int kQos = 1;
// A publish is handed to the library's thread while messages come: one came
// at most kTrafficGap ago; the next message's post takes it up. Without
// traffic the library's threads rest and the publish is requested here at
// once. kHandOverPatience bounds the wait when the traffic has just ended.
constexpr std::chrono::microseconds kTrafficGap{20000};
constexpr std::chrono::microseconds kHandOverPatience{100000};
// Publish requests the library may hold unfinished; the rest wait in the
// client. While a message waits for room the library's sending thread gets
// its lock only now and then, and then sends all it holds; the library also
// walks its unfinished requests on every turn of its receiving thread. 300
// keeps the acknowledgements of a job flood flowing at that cost (100 and
// 1000 measured slower and busier), far below the 65 535 message ids.
constexpr int kOpenPublishes = 300;
// Publishes waiting behind them: one per job the window has taken. Under a
// job flood most acknowledgements wait here until the flood ends (about 60
// bytes each, their topic stored once); past either bound Publish refuses.
// 256 MiB holds 1 000 000 acknowledgements of the longest kind (255 bytes)
// and stops a flood of long publishes.
constexpr PublishOutbox::Limits kWaitingPublishes{1000000, 256 * 1024 * 1024};
// How long the teardown lets a clean disconnect complete before it destroys
// the handle anyway.
constexpr std::chrono::milliseconds kTeardownDisconnectWait{2000};

// The text, and the library's message after the separator when it gave one.
std::string WithMessage(const char* text, const char* separator,
                        const MQTTAsync_failureData* failure) {
  std::string out = text;
  if (failure != nullptr && failure->message != nullptr) {
    out += separator;
    out += failure->message;
  }
  return out;
}

void DestroyLibraryClient(MQTTAsync handle) { MQTTAsync_destroy(&handle); }
void FreeLibraryMessage(MQTTAsync_message* message) { MQTTAsync_freeMessage(&message); }

// Destroying a library client reports its pending requests failed on the
// calling thread and waits for a callback running on a library thread.
using LibraryClient = CHandle<void, DestroyLibraryClient>;
using LibraryMessage = CHandle<MQTTAsync_message, FreeLibraryMessage>;
using LibraryText = CHandle<char, MQTTAsync_free>;

// Held by every operation of the owner's thread. The library runs a
// message's callback under its one process-wide lock, which that thread's
// library calls take too, and the callback may wait in the sink for room:
// the sink lets no post wait while an operation is under way, and ends a
// wait already begun.
class ReleasedWaits final {
 public:
  explicit ReleasedWaits(MqttEventSink* sink) : m_sink(sink) {
    if (m_sink != nullptr) m_sink->ReleaseWaits(true);
  }
  ~ReleasedWaits() {
    if (m_sink != nullptr) m_sink->ReleaseWaits(false);
  }
  ReleasedWaits(const ReleasedWaits&) = delete;
  ReleasedWaits& operator=(const ReleasedWaits&) = delete;

 private:
  MqttEventSink* const m_sink;
};

}  // namespace

MqttClient::MqttClient(std::chrono::seconds connectTimeout)
    : m_outbox(kWaitingPublishes), m_connectTimeout(connectTimeout) {}

MqttClient::~MqttClient() {
  SetNotifyWindow(nullptr);
  std::lock_guard lock(m_mutex);
  const MQTTAsync handle = LiveHandle();
  if (handle != nullptr && m_connected.load() && RequestDisconnect(handle) == MQTTASYNC_SUCCESS) {
    // The disconnect callbacks finish the handle; a lost connection clears
    // the flag; each reports a status, which wakes this wait. Either way the
    // handle is destroyed below.
    std::unique_lock reports(m_reportMutex);
    m_reported.wait_for(reports, kTeardownDisconnectWait,
                        [this] { return m_handleFinished.load() || !m_connected.load(); });
  }
  DestroyHandle();
}

void MqttClient::SetNotifyWindow(MqttEventSink* sink) {
  // Posts hold the lock: once it is taken here, a post that took the old
  // sink has returned. A post never waits for this thread: the old sink lets
  // none wait until the swap is done. Only this thread writes the pointer,
  // so it reads it here without the lock.
  const ReleasedWaits released(m_notifyWindow);
  const std::lock_guard reports(m_reportMutex);
  m_notifyWindow = sink;
}

bool MqttClient::Connect(const MqttConnectOptions& options) {
  const ReleasedWaits released(m_notifyWindow);
  std::lock_guard lock(m_mutex);
  DestroyHandle();
  m_connected.store(false);
  if (options.serverUri.empty() || options.clientId.empty()) {
    NotifyStatus(false, "Server URI or Client ID is empty.");
    return false;
  }
  MQTTAsync created = nullptr;
  int rc = MQTTAsync_create(&created, options.serverUri.c_str(), options.clientId.c_str(),
                            MQTTCLIENT_PERSISTENCE_NONE, nullptr);
  LibraryClient refused(created);
  if (rc != MQTTASYNC_SUCCESS) {
    NotifyStatus(false, "MQTTAsync_create failed: " + std::to_string(rc));
    return false;
  }
  const MQTTAsync handle = refused.release();
  m_handle.store(handle);
  m_reportTopic = options.pubTopic;
  m_subscribeTopic = options.subTopic;
  MQTTAsync_setCallbacks(handle, this, &MqttClient::OnConnectionLost, &MqttClient::OnMessageArrived,
                         nullptr);

  MQTTAsync_connectOptions connect = MQTTAsync_connectOptions_initializer;
  connect.cleansession = options.cleansession;
  // Pinned to 3.1.1: with the library's default (3.1.1, then 3.1) a session
  // that drops is silently reconnected at 3.1 after "Connection lost" is
  // reported, which takes the client id back from whoever holds it and
  // reports the loss a second time.
  connect.MQTTVersion = MQTTVERSION_3_1_1;
  connect.connectTimeout = static_cast<int>(m_connectTimeout.count());
  connect.username = options.username.empty() ? nullptr : options.username.c_str();
  connect.password = options.password.empty() ? nullptr : options.password.c_str();
  connect.onSuccess = &MqttClient::OnConnectSuccess;
  connect.onFailure = &MqttClient::OnConnectFailure;
  connect.context = this;

  // Queued before the request: on a fast broker the library's thread may
  // report the outcome before the request call returns here, and a later
  // "Connecting to" (flag false) would leave everyone believing the client
  // is disconnected.
  QueueAnnouncement("Connecting to " + options.serverUri +
                    " (MQTT cleansession=" + std::to_string(options.cleansession) + ") ...");
  rc = MQTTAsync_connect(handle, &connect);
  EndAnnouncement(rc == MQTTASYNC_SUCCESS);
  if (rc != MQTTASYNC_SUCCESS) {
    NotifyStatus(false, "MQTTAsync_connect failed: " + std::to_string(rc));
    DestroyHandle();
    m_connected.store(false);
    return false;
  }
  return true;
}

void MqttClient::Disconnect() {
  const ReleasedWaits released(m_notifyWindow);
  std::lock_guard lock(m_mutex);
  const MQTTAsync handle = LiveHandle();
  if (handle == nullptr) {
    return;
  }
  if (m_connected.load()) {
    // The outcome arrives through the disconnect callbacks; a refusal leaves
    // the client disconnecting until the next connect or the teardown.
    RequestDisconnect(handle);
    return;
  }
  // Connecting or lost: the library would not answer a disconnect request.
  DestroyHandle();
  m_connected.store(false);
  NotifyStatus(false, "Disconnected.");
}

bool MqttClient::Subscribe(const std::string& topic) {
  const ReleasedWaits released(m_notifyWindow);
  MQTTAsync handle = nullptr;
  {
    std::lock_guard lock(m_mutex);
    handle = LiveHandle();
    if (handle == nullptr || !m_connected.load() || topic.empty()) {
      return false;
    }
    if (&topic != &m_subscribeTopic) {
      m_subscribeTopic = topic;
    }
  }
  DoSubscribe(handle, topic);
  return true;
}

bool MqttClient::Publish(const std::string& topic, const std::string& payload) {
  std::lock_guard lock(m_mutex);
  const MQTTAsync handle = LiveHandle();
  if (handle == nullptr || !m_connected.load() || topic.empty() || payload.size() > INT_MAX) {
    return false;
  }
  std::optional<PublishOutbox::Publish> oldest;
  {
    // While the library holds enough of them unfinished, publishes wait
    // here; each one that finishes sends the next. Below that, the oldest
    // waiting one goes first and this one waits behind it.
    const std::lock_guard publishes(m_publishMutex);
    if (m_openPublishes >= kOpenPublishes) return m_outbox.Push(topic, payload);
    if (!m_outbox.Empty()) {
      if (!m_outbox.Push(topic, payload)) return false;
      oldest = m_outbox.Pop();
    }
    ++m_openPublishes;
  }
  int rc = MQTTASYNC_FAILURE;
  const std::function<void()> send = [&] {
    rc = oldest ? RequestPublish(handle, oldest->topic, oldest->payload)
                : RequestPublish(handle, topic, payload);
  };
  // A message post holds the library's lock on the library's own thread,
  // where a request needs no lock: the request is made there, and a wait
  // for room (and with it the bound of the records) holds. Without traffic
  // it is made here, with waits released.
  if (m_notifyWindow == nullptr ||
      !m_notifyWindow->RunOnPostingThread(send, kTrafficGap, kHandOverPatience)) {
    const ReleasedWaits released(m_notifyWindow);
    send();
  }
  if (rc == MQTTASYNC_SUCCESS) return true;
  EndOpenPublish();
  if (!oldest) return false;
  // The oldest one failed, as a request the library had taken may; this one waits.
  NotifyStatus(m_connected.load(), "Publish failed");
  return true;
}

int MqttClient::RequestPublish(MQTTAsync handle, const std::string& topic,
                               const std::string& payload) {
  MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
  response.onSuccess = &MqttClient::OnPublishSuccess;
  response.onFailure = &MqttClient::OnPublishFailure;
  response.context = this;
  return MQTTAsync_send(handle, topic.c_str(), static_cast<int>(payload.size()), payload.data(),
                        kQos, 0, &response);
}

void MqttClient::EndOpenPublish() {
  const std::lock_guard publishes(m_publishMutex);
  --m_openPublishes;
}

void MqttClient::FinishPublish() {
  // A finished request on a live connection is replaced by the oldest
  // waiting one, requested here on the library's thread. A refused one is
  // reported; the rest go with a later finish or publish (a refusal means
  // the connection is going, and each one refused would be a status).
  // Requests that fail inside a destroy see no handle; the teardown of the
  // handle drops the rest.
  const MQTTAsync handle = LiveHandle();
  std::optional<PublishOutbox::Publish> next;
  {
    const std::lock_guard publishes(m_publishMutex);
    next = handle != nullptr && m_connected.load() ? m_outbox.Pop() : std::nullopt;
    if (!next) {
      --m_openPublishes;
      return;
    }
  }
  if (RequestPublish(handle, next->topic, next->payload) == MQTTASYNC_SUCCESS) return;
  EndOpenPublish();
  NotifyStatus(m_connected.load(), "Publish failed");
}

void MqttClient::NotifyStatus(bool connected, const std::string& text) {
  {
    const std::lock_guard reports(m_reportMutex);
    PostQueuedAnnouncementLocked();
    PostStatusLocked(connected, text);
  }
  m_reported.notify_all();
}

void MqttClient::PostStatusLocked(bool connected, const std::string& text) {
  m_connected.store(connected);
  if (m_notifyWindow != nullptr) {
    m_notifyWindow->PostStatusEvent(
        std::make_unique<MqttStatusEvent>(MqttStatusEvent{connected, text}));
  }
}

void MqttClient::PostQueuedAnnouncementLocked() {
  if (m_announcement) {
    PostStatusLocked(false, *m_announcement);
    m_announcement.reset();
  }
}

void MqttClient::QueueAnnouncement(std::string text) {
  const std::lock_guard reports(m_reportMutex);
  m_announcement = std::move(text);
}

void MqttClient::EndAnnouncement(bool post) {
  {
    const std::lock_guard reports(m_reportMutex);
    if (post) PostQueuedAnnouncementLocked();
    m_announcement.reset();
  }
  m_reported.notify_all();
}

void MqttClient::PostMessage(const char* topicName, int topicLen,
                             const MQTTAsync_message& message) {
  const std::lock_guard reports(m_reportMutex);
  if (m_notifyWindow == nullptr) return;
  auto event = std::make_unique<MqttMessageEvent>();
  event->qos = message.qos;
  if (topicName != nullptr) {
    // The library gives a length only for topics with zero bytes inside.
    event->topic = topicLen < 1 ? std::string(topicName)
                                : std::string(topicName, static_cast<std::size_t>(topicLen));
  }
  if (message.payload != nullptr && message.payloadlen > 0) {
    event->payload.assign(static_cast<const char*>(message.payload),
                          static_cast<std::size_t>(message.payloadlen));
  }
  m_notifyWindow->PostMessageEvent(std::move(event));
}

void MqttClient::DoSubscribe(MQTTAsync handle, const std::string& topic) {
  if (handle == nullptr || topic.empty()) {
    return;
  }
  auto context = std::make_unique<SubscribeContext>(SubscribeContext{this, topic});
  MQTTAsync_responseOptions response = MQTTAsync_responseOptions_initializer;
  response.onSuccess = &MqttClient::OnSubscribeSuccess;
  response.onFailure = &MqttClient::OnSubscribeFailure;
  response.context = context.get();
  if (MQTTAsync_subscribe(handle, topic.c_str(), kQos, &response) != MQTTASYNC_SUCCESS) {
    NotifyStatus(m_connected.load(), "Subscribe failed: " + topic);
    return;
  }
  // From here on the callback that ends the request owns the context.
  context.release();
}

MQTTAsync MqttClient::LiveHandle() const {
  return m_handleFinished.load() ? nullptr : m_handle.load();
}

void MqttClient::DestroyHandle() {
  LibraryClient handle(m_handle.exchange(nullptr));
  // Destroyed before the mark is cleared: a connect the library had not yet
  // taken up is reported failed inside the destroy, and finishes the handle.
  handle.reset();
  m_handleFinished.store(false);
  // Every request the library held has been reported failed; those still
  // waiting here are dropped, reported in one status.
  std::size_t dropped = 0;
  {
    const std::lock_guard publishes(m_publishMutex);
    dropped = m_outbox.Size();
    m_outbox.Clear();
    m_openPublishes = 0;
  }
  if (dropped > 0) {
    NotifyStatus(m_connected.load(),
                 "Publish failed: " + std::to_string(dropped) + " waiting publishes dropped");
  }
}

int MqttClient::RequestDisconnect(MQTTAsync handle) {
  MQTTAsync_disconnectOptions disconnect = MQTTAsync_disconnectOptions_initializer;
  disconnect.onSuccess = &MqttClient::OnDisconnectSuccess;
  disconnect.onFailure = &MqttClient::OnDisconnectFailure;
  disconnect.context = this;
  return MQTTAsync_disconnect(handle, &disconnect);
}

void MqttClient::FinishHandle(const std::string& text) {
  // Marked before the status goes out, so that whatever the window does on
  // receiving it already sees no handle.
  m_handleFinished.store(true);
  NotifyStatus(false, text);
}

void MqttClient::OnConnectSuccess(void* context, MQTTAsync_successData* /*response*/) noexcept {
  auto* self = static_cast<MqttClient*>(context);
  if (self == nullptr) {
    return;
  }
  const MQTTAsync handle = self->LiveHandle();
  if (handle == nullptr) {
    return;
  }
  if (!self->m_subscribeTopic.empty()) {
    self->DoSubscribe(handle, self->m_subscribeTopic);
  }
  self->NotifyStatus(true, "Connected.");
}

void MqttClient::OnConnectFailure(void* context, MQTTAsync_failureData* response) noexcept {
  auto* self = static_cast<MqttClient*>(context);
  if (self == nullptr) {
    return;
  }
  self->FinishHandle(WithMessage("Connect failed", ": ", response));
}

void MqttClient::OnConnectionLost(void* context, char* cause) noexcept {
  auto* self = static_cast<MqttClient*>(context);
  if (self == nullptr) {
    return;
  }
  std::string text = "Connection lost";
  if (cause != nullptr) {
    text += ": ";
    text += cause;
  }
  self->NotifyStatus(false, text);
}

void MqttClient::OnDisconnectSuccess(void* context, MQTTAsync_successData* /*response*/) noexcept {
  if (auto* self = static_cast<MqttClient*>(context)) {
    self->FinishHandle("Disconnected.");
  }
}

void MqttClient::OnDisconnectFailure(void* context, MQTTAsync_failureData* response) noexcept {
  if (auto* self = static_cast<MqttClient*>(context)) {
    self->FinishHandle(WithMessage("Disconnect failed", ": ", response));
  }
}

int MqttClient::OnMessageArrived(void* context, char* topicName, int topicLen,
                                 MQTTAsync_message* message) noexcept {
  // Always freed and handled: returning 0 would make the library deliver the
  // same message again and again. The message goes first, then its topic.
  const LibraryText topic(topicName);
  const LibraryMessage owned(message);
  auto* self = static_cast<MqttClient*>(context);
  if (self != nullptr && message != nullptr) {
    self->PostMessage(topicName, topicLen, *message);
  }
  return 1;
}

void MqttClient::OnSubscribeSuccess(void* context, MQTTAsync_successData* /*response*/) noexcept {
  const std::unique_ptr<SubscribeContext> request(static_cast<SubscribeContext*>(context));
  if (request != nullptr && request->client != nullptr) {
    request->client->NotifyStatus(true, "Subscribed: " + request->topic);
  }
}

void MqttClient::OnSubscribeFailure(void* context, MQTTAsync_failureData* response) noexcept {
  const std::unique_ptr<SubscribeContext> request(static_cast<SubscribeContext*>(context));
  if (request != nullptr && request->client != nullptr) {
    MqttClient* self = request->client;
    const std::string prefix = "Subscribe failed: " + request->topic;
    self->NotifyStatus(self->m_connected.load(), WithMessage(prefix.c_str(), " - ", response));
  }
}

void MqttClient::OnPublishSuccess(void* context, MQTTAsync_successData* /*response*/) noexcept {
  if (auto* self = static_cast<MqttClient*>(context)) {
    self->FinishPublish();
    self->NotifyStatus(true, "Publish acknowledged.");
  }
}

void MqttClient::OnPublishFailure(void* context, MQTTAsync_failureData* response) noexcept {
  if (auto* self = static_cast<MqttClient*>(context)) {
    self->FinishPublish();
    self->NotifyStatus(self->m_connected.load(), WithMessage("Publish failed", ": ", response));
  }
}

}  // namespace qm
