#pragma once
// The tokenizer of the notes' full-text index, registered on each connection
// that touches the index. A note is indexed one character at a time: every
// character (after the search folding) is a token, and at the same position
// the pair it starts with the next character. A search text of one character
// looks for that character; a longer one for the phrase of its consecutive
// pairs. So any substring is found exactly, Chinese of any length included,
// and multi-character searches meet the short lists of pairs rather than the
// long ones of common characters.

struct sqlite3;

namespace qn {

// The name the index's table is created with.
inline constexpr const char* kSearchTokenizerName = "qn_chars";

// Registers the tokenizer on the connection; false when the connection has no
// full-text search.
bool RegisterSearchTokenizer(sqlite3* db);

}  // namespace qn
