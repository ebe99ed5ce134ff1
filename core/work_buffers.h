#pragma once

#include <string>

namespace sx {

// Work buffers of the reader and the text helpers, reserved once so that reading never
// allocates per line. A raw line holds at most 10000 bytes; decoded from Windows-1252 it may
// take three times as many.
struct WorkBuffers {
  std::string LineBuffer;        // raw bytes of the line being read
  std::string DecodedLine;       // the line as UTF-8
  std::string HeaderLineBuffer;  // the line examined before the data lines
  std::string GroupLine;         // last skipped line before the column-header line
  std::string ScratchBuffer;
  void Reserve();
};

}  // namespace sx
