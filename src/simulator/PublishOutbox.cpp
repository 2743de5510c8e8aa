// SPDX-License-Identifier: MIT
// Publishes the MQTT client has accepted and not yet handed to the library.
#include "simulator/PublishOutbox.h"

#include <algorithm>
#include <cstring>

namespace qm {
namespace {

// The topic length that stands for "the previous publish's topic".
constexpr std::uint32_t kSameTopic = UINT32_MAX;
constexpr std::size_t kLengthBytes = sizeof(std::uint32_t);

}  // namespace

PublishOutbox::PublishOutbox(Limits limits) : m_limits(limits) {}

bool PublishOutbox::Push(std::string_view topic, std::string_view payload) {
  if (topic.size() >= kSameTopic || payload.size() >= kSameTopic) return false;
  const bool sameTopic = topic == m_pushedTopic;
  const std::size_t stored = 2 * kLengthBytes + (sameTopic ? 0 : topic.size()) + payload.size();
  if (m_size >= m_limits.publishes || stored > m_limits.bytes - std::min(m_bytes, m_limits.bytes)) {
    return false;
  }
  const auto topicLength = sameTopic ? kSameTopic : static_cast<std::uint32_t>(topic.size());
  const auto payloadLength = static_cast<std::uint32_t>(payload.size());
  Write(&topicLength, kLengthBytes);
  Write(&payloadLength, kLengthBytes);
  if (!sameTopic) {
    Write(topic.data(), topic.size());
    m_pushedTopic = topic;
  }
  Write(payload.data(), payload.size());
  ++m_size;
  m_bytes += stored;
  return true;
}

std::optional<PublishOutbox::Publish> PublishOutbox::Pop() {
  if (m_size == 0) return std::nullopt;
  const std::uint32_t topicLength = ReadLength();
  const std::uint32_t payloadLength = ReadLength();
  std::size_t stored = 2 * kLengthBytes + payloadLength;
  if (topicLength != kSameTopic) {
    m_poppedTopic.resize(topicLength);
    Read(m_poppedTopic.data(), topicLength);
    stored += topicLength;
  }
  Publish publish{m_poppedTopic, std::string(payloadLength, '\0')};
  Read(publish.payload.data(), payloadLength);
  m_bytes -= stored;
  if (--m_size == 0) Clear();
  return publish;
}

void PublishOutbox::Clear() {
  m_blocks.clear();
  m_readOffset = 0;
  m_writeOffset = 0;
  m_size = 0;
  m_bytes = 0;
  m_pushedTopic.clear();
  m_poppedTopic.clear();
}

void PublishOutbox::Write(const void* data, std::size_t size) {
  const char* from = static_cast<const char*>(data);
  while (size > 0) {
    if (m_blocks.empty() || m_writeOffset == m_limits.blockBytes) {
      m_blocks.push_back(std::make_unique_for_overwrite<char[]>(m_limits.blockBytes));
      m_writeOffset = 0;
    }
    const std::size_t part = std::min(size, m_limits.blockBytes - m_writeOffset);
    std::memcpy(m_blocks.back().get() + m_writeOffset, from, part);
    m_writeOffset += part;
    from += part;
    size -= part;
  }
}

void PublishOutbox::Read(void* data, std::size_t size) {
  char* to = static_cast<char*>(data);
  while (size > 0) {
    const std::size_t part = std::min(size, m_limits.blockBytes - m_readOffset);
    std::memcpy(to, m_blocks.front().get() + m_readOffset, part);
    m_readOffset += part;
    to += part;
    size -= part;
    if (m_readOffset == m_limits.blockBytes) {
      m_blocks.pop_front();
      m_readOffset = 0;
    }
  }
}

std::uint32_t PublishOutbox::ReadLength() {
  std::uint32_t length = 0;
  Read(&length, kLengthBytes);
  return length;
}

}  // namespace qm
