// The receive buffer fed one byte stream in arbitrary pieces. Input:
//   byte 0            number of cut points (modulo 16)
//   one byte each     the length of a piece (the last piece takes the rest)
//   the rest          the bytes the port delivered
// However the stream is cut, the answers must come out as from one read.
#include <QByteArray>
#include <vector>

#include "FuzzSupport.h"
#include "core/link/Frame.h"
#include "core/link/FrameReceiver.h"

namespace termika {
namespace {

using Events = std::vector<FrameReceiver::Event>;

void checkEvent(const FrameReceiver::Event& e) {
  if (e.kind == FrameReceiver::Kind::Overflow) {
    fuzz::require(e.bytes.isEmpty());
    return;
  }
  fuzz::require(!e.bytes.isEmpty() && e.bytes.size() <= FrameReceiver::kCapacity);
  fuzz::require(static_cast<std::uint8_t>(e.bytes.back()) == frame::kTerminator);
  fuzz::require(e.bytes.indexOf('\xFF') == e.bytes.size() - 1);
  // Whatever arrived, decoding gives an answer or nothing, never a fault.
  if (const auto d = frame::decodeAnswer(e.bytes)) {
    fuzz::require(frame::encode(*d).size() == frame::kFrameSize);
  }
  (void)frame::isRejection(e.bytes);
}

void run(const std::uint8_t* data, size_t size) {
  if (size < 1) return;
  const size_t cuts = data[0] % 16;
  if (size < 1 + cuts) return;
  const QByteArray stream(reinterpret_cast<const char*>(data + 1 + cuts),
                          static_cast<qsizetype>(size - 1 - cuts));

  FrameReceiver whole;
  const Events expected = whole.feed(stream);

  FrameReceiver pieces;
  Events got;
  qsizetype from = 0;
  for (size_t i = 0; i <= cuts; ++i) {
    const qsizetype length = i < cuts ? data[1 + i] : stream.size() - from;
    const QByteArray piece = stream.mid(from, length);
    from += piece.size();
    for (FrameReceiver::Event& e : pieces.feed(piece)) got.push_back(std::move(e));
    fuzz::require(pieces.pending() >= 0 && pieces.pending() < FrameReceiver::kCapacity);
  }

  fuzz::require(got.size() == expected.size());
  for (size_t i = 0; i < got.size(); ++i) {
    checkEvent(got[i]);
    fuzz::require(got[i].kind == expected[i].kind && got[i].bytes == expected[i].bytes);
  }
  fuzz::require(pieces.pending() == whole.pending());
}

}  // namespace
}  // namespace termika

TERMIKA_FUZZ_TARGET(termika::run)
