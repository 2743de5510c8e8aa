// SPDX-License-Identifier: MIT
// The simulator's one MQTT connection, on the Paho C asynchronous library.
#pragma once

#include <MQTTAsync.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>

#include "simulator/MqttConnectOptions.h"
#include "simulator/MqttEventSink.h"
#include "simulator/PublishOutbox.h"

namespace qm {

// One request to subscribe, handed to the library as the request's context
// and freed by the callback that ends the request.
struct SubscribeContext {
  class MqttClient* client = nullptr;  // not owned
  std::string topic;
};

// Connects, subscribes to the printer's job topic after every connect,
// publishes and disconnects; every outcome and every arrived message goes to
// the notify sink as a record.
//
// Threads: Connect, Disconnect, Subscribe, Publish, SetNotifyWindow and the
// destructor belong to one thread (the window's). The library calls back on
// its own threads, and on the calling thread for requests still pending when
// a library handle is destroyed. Callbacks never take m_mutex; they take
// m_reportMutex, which is held just for a post and never across a library
// call, and the leaf m_publishMutex. A post of a message that arrived at QoS
// 1 or 2 may wait in the sink for the window to make room, holding both
// m_reportMutex and the library's own lock. The window thread never waits
// for it: while messages come, Publish has its request made by a message
// post, on the library's thread (MqttEventSink::RunOnPostingThread); every
// other operation first releases such waits (MqttEventSink::ReleaseWaits).
class MqttClient final {
 public:
  // How long the library waits for a broker to answer a connect.
  static constexpr std::chrono::seconds kConnectTimeout{30};

  // The connect time-out is the library's 30 s unless given (tests).
  explicit MqttClient(std::chrono::seconds connectTimeout = kConnectTimeout);
  // Ends any connection and destroys the library handle; when it returns no
  // callback runs or is pending for this client and nothing more is posted.
  ~MqttClient();
  MqttClient(const MqttClient&) = delete;
  MqttClient& operator=(const MqttClient&) = delete;

  // Sets (or clears, with null) where records go. When it returns, the
  // previous sink is no longer in use and never called again, so its owner
  // may destroy it.
  void SetNotifyWindow(MqttEventSink* sink);

  // True when the library accepted the connect request (the outcome follows
  // as a status); false when it was refused at once (already reported).
  bool Connect(const MqttConnectOptions& options);
  void Disconnect();
  // True when a subscribe request was handed on; false, with no status, when
  // there is no live connection or the topic is empty.
  bool Subscribe(const std::string& topic);
  // True when the library accepted the QoS 1 publish request, or when it
  // waits in the client behind those the library holds unfinished (a later
  // failure is reported as "Publish failed").
  bool Publish(const std::string& topic, const std::string& payload);

  // The report topic of the last connect that got a handle: where print
  // acknowledgements are published.
  const std::string& ReportTopic() const { return m_reportTopic; }
  // The flag of the last status report (the window follows the flags of the
  // records instead).
  bool IsConnected() const { return m_connected.load(); }
  // How long a connect waits for the broker's answer.
  std::chrono::seconds ConnectTimeout() const { return m_connectTimeout; }

 private:
  void NotifyStatus(bool connected, const std::string& text);
  // Posts with m_reportMutex held: the announcement still queued first.
  void PostStatusLocked(bool connected, const std::string& text);
  void PostQueuedAnnouncementLocked();
  // The "Connecting to" status of a connect request, queued before the
  // request is made; the connect's outcome, or Connect itself once the
  // request is accepted, posts it first. Dropped when the request is refused.
  void QueueAnnouncement(std::string text);
  void EndAnnouncement(bool post);
  void PostMessage(const char* topicName, int topicLen, const MQTTAsync_message& message);
  void DoSubscribe(MQTTAsync handle, const std::string& topic);
  // The handle that operations may use: none once a callback finished it.
  MQTTAsync LiveHandle() const;
  void DestroyHandle();
  int RequestDisconnect(MQTTAsync handle);
  void FinishHandle(const std::string& text);
  int RequestPublish(MQTTAsync handle, const std::string& topic, const std::string& payload);
  // A publish request finished: the next waiting one is requested.
  void FinishPublish();
  // One publish request fewer is open (it was refused or has finished).
  void EndOpenPublish();

  // The library's callbacks. noexcept: an exception must never unwind
  // through the C library.
  static void OnConnectSuccess(void* context, MQTTAsync_successData* response) noexcept;
  static void OnConnectFailure(void* context, MQTTAsync_failureData* response) noexcept;
  static void OnConnectionLost(void* context, char* cause) noexcept;
  static void OnDisconnectSuccess(void* context, MQTTAsync_successData* response) noexcept;
  static void OnDisconnectFailure(void* context, MQTTAsync_failureData* response) noexcept;
  static int OnMessageArrived(void* context, char* topicName, int topicLen,
                              MQTTAsync_message* message) noexcept;
  static void OnSubscribeSuccess(void* context, MQTTAsync_successData* response) noexcept;
  static void OnSubscribeFailure(void* context, MQTTAsync_failureData* response) noexcept;
  static void OnPublishSuccess(void* context, MQTTAsync_successData* response) noexcept;
  static void OnPublishFailure(void* context, MQTTAsync_failureData* response) noexcept;

  MqttEventSink* m_notifyWindow = nullptr;  // guarded by m_reportMutex
  // Written on the window thread only; library threads read it inside
  // callbacks, which the library serialises with its create and destroy.
  std::atomic<MQTTAsync> m_handle{nullptr};
  std::string m_reportTopic;
  std::string m_subscribeTopic;
  std::atomic<bool> m_connected{false};
  std::mutex m_mutex;
  // Set by the callbacks that end a handle's life (connect failure,
  // disconnect outcome): from then on the handle counts as absent; the window
  // thread destroys it at the next connect or at the teardown.
  std::atomic<bool> m_handleFinished{false};
  // Orders the status reports and guards the sink: every post runs under it,
  // so that SetNotifyWindow returns only when no post holds the old sink.
  std::mutex m_reportMutex;
  // Signalled after every status report; the teardown waits on it for the
  // outcome of its disconnect.
  std::condition_variable m_reported;
  std::optional<std::string> m_announcement;  // guarded by m_reportMutex
  // Publish requests the library holds unfinished (at most kOpenPublishes),
  // and those accepted behind them. A leaf: nothing else is taken, and no
  // library call made, while it is held.
  std::mutex m_publishMutex;
  int m_openPublishes = 0;
  PublishOutbox m_outbox;  // accepted, not yet requested
  const std::chrono::seconds m_connectTimeout;
};

}  // namespace qm
