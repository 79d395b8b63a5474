#pragma once
// One day's stored note: the row of tb_NewQN for a day key.

#include <QByteArray>
#include <QString>

#include <string>

namespace qn {

struct DayNote {
    std::string key;  // "YYYYMMDD"
    QByteArray rtf;   // Content: the note as RTF, empty when the row holds none
    QString plain;    // ContentBak: the note as plain text, lines joined by CR LF

    friend bool operator==(const DayNote&, const DayNote&) = default;
};

}  // namespace qn
