#pragma once
// Output of many lines: the text is gathered in one buffer and handed to the
// stream in large blocks, so a long run pays for one stream call per block
// instead of one per field.

#include <cstddef>
#include <ostream>
#include <string>

namespace qncal {

class BlockWriter {
public:
    static constexpr std::size_t BlockSize = 1 << 16;

    explicit BlockWriter(std::ostream& out);
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;
    // Whatever is left is written; a failure shows in the stream's state.
    ~BlockWriter();

    // Lines are appended here directly.
    std::string& Text() { return buffer_; }
    // Call after each line: writes a block once enough has gathered. False
    // once the stream has failed, so a long run can stop early.
    bool LineDone()
    {
        if (buffer_.size() >= BlockSize)
            Flush();
        return static_cast<bool>(out_);
    }
    void Flush();

private:
    std::ostream& out_;
    std::string buffer_;
};

}  // namespace qncal
