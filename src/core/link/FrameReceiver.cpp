#include "core/link/FrameReceiver.h"

#include "core/link/Frame.h"

namespace termika {

std::vector<FrameReceiver::Event> FrameReceiver::feed(const QByteArray& bytes) {
  std::vector<Event> events;
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    m_buffer.at(static_cast<size_t>(m_size)) = byte;
    ++m_size;
    if (byte == frame::kTerminator) {
      events.push_back(
          {Kind::Answer, QByteArray(reinterpret_cast<const char*>(m_buffer.data()), m_size)});
      m_size = 0;
    } else if (m_size >= kCapacity) {
      events.push_back({Kind::Overflow, {}});
      m_size = 0;
    }
  }
  return events;
}

}  // namespace termika
