#include "core/work_buffers.h"

#include "core/data_model.h"

namespace sx {

void WorkBuffers::Reserve() {
  // A raw line holds at most 10000 bytes; decoding Windows-1252 at most triples it; the
  // header and group lines get a tab or two appended.
  LineBuffer.reserve(kLineCapacity + 1);
  DecodedLine.reserve(3 * kLineCapacity + 4);
  HeaderLineBuffer.reserve(3 * kLineCapacity + 4);
  GroupLine.reserve(3 * kLineCapacity + 4);
  ScratchBuffer.reserve(3 * kLineCapacity + 4);
}

}  // namespace sx
