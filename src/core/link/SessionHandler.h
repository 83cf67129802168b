#pragma once

#include "core/link/CommandQueue.h"
#include "core/link/Frame.h"

namespace termika {

// What the exchange does after a session has looked at an answer.
enum class AnswerAction {
  Advance,    // go on with the next row (the end of the queue ends the exchange)
  RepeatRow,  // send the current row again, possibly with new b2/b3/param
  AwaitMore,  // send nothing and keep receiving: the logger streams (its watchdog decides)
  Finish,     // end the exchange now, skipping any rows left
};

// The long exchanges (download, real-time measurement) take over the answers
// to the rows of their modes. The dispatcher has already filled the status
// fields for the code when a handler is called, so a handler deals only with
// what is its own.
//
// A download, for instance, registers for Download and RecordingHeader: header
// reads step the row's address and return RepeatRow; after the header it
// appends the transfer row and returns Advance; streamed points return
// AwaitMore until the last, which returns Advance. Its watchdog calls
// Exchange::abort(); Exchange::sessionAborted tells it that the link gave up
// on its own.
class SessionHandler {
 public:
  virtual ~SessionHandler() = default;

  // `row` is the queue's current row and may be changed in place; rows may be
  // appended to `queue` (the transfer request after the header, the closing
  // request at the end). `d` is the decoded answer (all zero for code 99).
  virtual AnswerAction onAnswer(CommandQueue& queue, CommandRow& row, const frame::Bytes4& d) = 0;

  // A garbled answer (or an overlong burst) arrived for one of this handler's
  // rows. The default waits for the time-out to resend; a stream that has no
  // resend ends itself here.
  virtual AnswerAction onGarbledAnswer(CommandRow& /*row*/) { return AnswerAction::AwaitMore; }

  // A rejection (0xEE) arrived for one of this handler's rows. RepeatRow
  // resends the row, up to the rejection limit; a session whose resend would
  // not pick up where it stopped ends itself here instead.
  virtual AnswerAction onRejectedAnswer(CommandRow& /*row*/) { return AnswerAction::RepeatRow; }
};

}  // namespace termika
