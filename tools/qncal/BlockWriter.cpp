#include "tools/qncal/BlockWriter.h"

namespace qncal {

BlockWriter::BlockWriter(std::ostream& out) : out_(out) { buffer_.reserve(BlockSize + 4096); }

BlockWriter::~BlockWriter() { Flush(); }

void BlockWriter::Flush()
{
    if (!buffer_.empty() && out_)
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
}

}  // namespace qncal
