// SPDX-License-Identifier: MIT
// Publishes the MQTT client has accepted and not yet handed to the library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// A first-in first-out queue of publishes (topic and payload bytes), stored
// back to back in blocks of a fixed size: per publish two 32-bit lengths, the
// topic (left out when it equals the previous publish's) and the payload. A
// publish may span blocks; a block is freed as soon as it has been read, and
// all of them when the queue empties. Bounded by a count of publishes and by
// the bytes stored (lengths included): Push refuses what would pass either.
// Not thread-safe: its owner guards it.
class PublishOutbox final {
 public:
  struct Limits {
    std::size_t publishes = 0;
    std::size_t bytes = 0;
    std::size_t blockBytes = 64 * 1024;
  };
  struct Publish {
    std::string topic, payload;
  };

  explicit PublishOutbox(Limits limits);

  // False, with nothing stored, past a bound or for a topic or payload of
  // 4 GiB or more.
  bool Push(std::string_view topic, std::string_view payload);
  // The oldest publish, removed; none when the queue is empty.
  std::optional<Publish> Pop();
  // Removes every publish and frees every block.
  void Clear();

  std::size_t Size() const { return m_size; }
  bool Empty() const { return m_size == 0; }
  // Bytes stored, lengths included: what the byte bound counts.
  std::size_t Bytes() const { return m_bytes; }

 private:
  void Write(const void* data, std::size_t size);
  void Read(void* data, std::size_t size);
  std::uint32_t ReadLength();

  const Limits m_limits;
  std::deque<std::unique_ptr<char[]>> m_blocks;
  std::size_t m_readOffset = 0;   // into the front block
  std::size_t m_writeOffset = 0;  // into the back block
  std::size_t m_size = 0;
  std::size_t m_bytes = 0;
  // The topic of the publish pushed last, and of the one popped last: a
  // publish stored without its topic has the one before it.
  std::string m_pushedTopic;
  std::string m_poppedTopic;
};

}  // namespace qm
