// The buffers of the record-oriented file formats, on top of the byte sink:
// text in lines of at most 80 characters, and binary 80-byte records.
#pragma once

#include <memory>

namespace korvan {

class ByteSink;

class OutputBuffer {
 public:
  // The sink is the owner's pointer, read at every write: the owner may
  // close or replace its file while the buffer lives.
  explicit OutputBuffer(const std::unique_ptr<ByteSink>& sink, int capacity = 80);
  virtual ~OutputBuffer();
  // Appends n bytes.
  virtual void put(const char* text, int n) = 0;
  // Writes a partly filled line or record and empties the buffer.
  virtual void flush() = 0;
  int pending() const { return pos_; }
  int capacity() const { return cap_; }
  // True for text lines: the word-wise writers may use them, records not.
  bool textLines() const { return textLines_; }

 protected:
  OutputBuffer(const std::unique_ptr<ByteSink>& sink, int capacity, bool textLines);

  const std::unique_ptr<ByteSink>& sink_;
  int cap_, pos_ = 0;
  std::unique_ptr<char[]> buf_;
  bool textLines_ = false;
};

// Text lines: a piece that does not fit starts a new line; a piece longer
// than a line is written whole on its own line.
class TextLineBuffer : public OutputBuffer {
 public:
  explicit TextLineBuffer(const std::unique_ptr<ByteSink>& sink, int capacity = 80)
      : OutputBuffer(sink, capacity, true) {}
  void put(const char* text, int n) override;
  void flush() override;
  // Word-wise filling: lines break only after blanks, doubled blanks are
  // dropped; n == -1 ends the line.
  void words(const char* text, int n);
  // words() for text that is already packed: it does not begin with a blank
  // and has no two blanks in a row. The same lines, filled a line's worth at
  // a time instead of word by word.
  void packedWords(const char* text, int n);

 private:
  void writeLine();
};

// RecordBuffer: every record is exactly capacity bytes; the last one is padded
// with blanks.
class RecordBuffer : public OutputBuffer {
 public:
  using OutputBuffer::OutputBuffer;
  void put(const char* text, int n) override;
  void flush() override;

 private:
  void writeRecord();
};

}  // namespace korvan
