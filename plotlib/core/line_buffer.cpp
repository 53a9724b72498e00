#include "core/line_buffer.h"

#include <cstring>

#include "core/sink.h"

namespace korvan {

OutputBuffer::OutputBuffer(const std::unique_ptr<ByteSink>& sink, int capacity)
    : OutputBuffer(sink, capacity, false) {}

OutputBuffer::OutputBuffer(const std::unique_ptr<ByteSink>& sink, int capacity, bool textLines)
    : sink_(sink),
      cap_(capacity),
      buf_(new char[static_cast<std::size_t>(capacity) + 2]),
      textLines_(textLines) {}

OutputBuffer::~OutputBuffer() = default;

void TextLineBuffer::writeLine() {
  if (sink_) {
    sink_->write(buf_.get(), static_cast<std::size_t>(pos_));
    sink_->put('\n');
  }
  pos_ = 0;
}

void TextLineBuffer::put(const char* text, int n) {
  if (n <= 0) return;
  if (pos_ + n <= cap_) {
    std::memcpy(buf_.get() + pos_, text, static_cast<std::size_t>(n));
    pos_ += n;
    return;
  }
  if (pos_ > 0) writeLine();
  if (n > cap_) {
    if (sink_) {
      sink_->write(text, static_cast<std::size_t>(n));
      sink_->put('\n');
    }
    return;
  }
  std::memcpy(buf_.get(), text, static_cast<std::size_t>(n));
  pos_ = n;
}

void TextLineBuffer::words(const char* text, int n) {
  if (n == -1) {
    writeLine();
    return;
  }
  int i = 0;
  while (i < n) {
    int start = i;
    while (i < n && text[i] != ' ') ++i;
    if (i < n) ++i;  // the blank that ends the word
    int len = i - start;
    const char* word = text + start;
    if (len == 1 && word[0] == ' ' &&
        ((start > 0 && text[start - 1] == ' ') || (pos_ > 0 && buf_[pos_ - 1] == ' ')))
      continue;
    if (pos_ + len > cap_ && pos_ > 0) writeLine();
    if (len > cap_) {
      if (sink_) {
        sink_->write(word, static_cast<std::size_t>(len));
        sink_->put('\n');
      }
      continue;
    }
    std::memcpy(buf_.get() + pos_, word, static_cast<std::size_t>(len));
    pos_ += len;
  }
}

void TextLineBuffer::packedWords(const char* text, int n) {
  if (n == -1) {
    writeLine();
    return;
  }
  while (n > 0) {
    const int room = cap_ - pos_;
    if (n <= room) {
      std::memcpy(buf_.get() + pos_, text, static_cast<std::size_t>(n));
      pos_ += n;
      return;
    }
    // The words that fit end at the last blank within the room left.
    int take = room;
    while (take > 0 && text[take - 1] != ' ') --take;
    if (take > 0) {
      std::memcpy(buf_.get() + pos_, text, static_cast<std::size_t>(take));
      pos_ += take;
      text += take;
      n -= take;
      writeLine();
      continue;
    }
    if (pos_ > 0) {
      writeLine();
      continue;
    }
    // A word longer than a line stands alone on its own line.
    const char* end = static_cast<const char*>(std::memchr(text, ' ', static_cast<std::size_t>(n)));
    const int len = end ? static_cast<int>(end - text) + 1 : n;
    if (sink_) {
      sink_->write(text, static_cast<std::size_t>(len));
      sink_->put('\n');
    }
    text += len;
    n -= len;
  }
}

void TextLineBuffer::flush() {
  if (pos_ > 0) writeLine();
}

void RecordBuffer::writeRecord() {
  if (sink_) sink_->write(buf_.get(), static_cast<std::size_t>(cap_));
  pos_ = 0;
}

void RecordBuffer::put(const char* text, int n) {
  // Fill the record, write it, go on with the rest.
  while (n > 0) {
    int take = cap_ - pos_;
    if (take > n) take = n;
    std::memcpy(buf_.get() + pos_, text, static_cast<std::size_t>(take));
    pos_ += take;
    text += take;
    n -= take;
    if (pos_ == cap_) writeRecord();
  }
}

void RecordBuffer::flush() {
  if (pos_ == 0) return;
  std::memset(buf_.get() + pos_, ' ', static_cast<std::size_t>(cap_ - pos_));
  writeRecord();
}

}  // namespace korvan
