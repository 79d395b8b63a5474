#pragma once
// The main window's size and position between runs: Data/FormSize.ini, six
// lines (view number, width, height, left, top, a month number as text).
// Read (or created) once at start-up; written only by the close button.

#include "core/ProgramFolder.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

namespace qn {

// The screens as the geometry code sees them; tests hand in their own.
struct ScreenLayout {
    QRect primary;         // full geometry of the primary screen
    QList<QRect> screens;  // every screen, the primary among them
    // The part of each screen that windows may use (without panels and
    // task bars), in the order of screens; a screen without an entry here
    // may be used whole.
    QList<QRect> available;

    // The screens of the running application (the primary only when there
    // is none, e.g. before a platform is up: 1024 × 768 then).
    static ScreenLayout Current();
    // A single screen of the given size at (0, 0).
    static ScreenLayout Single(int width, int height);

    QRect availableOf(qsizetype screen) const { return available.value(screen, screens.value(screen)); }
};

// A window's place and size as a file gives them: any 32-bit values, kept
// wide so that no sum of two of them can overflow.
struct StoredRect {
    qint64 left = 0;
    qint64 top = 0;
    qint64 width = 0;
    qint64 height = 0;
};

// True when a window at rect can still be grabbed: some screen shows at
// least a 30 × 20 piece of it (a sliver of a few pixels cannot be dragged).
bool IsReachable(const StoredRect& rect, const ScreenLayout& screens);
bool IsReachable(const QRect& rect, const ScreenLayout& screens);

// The area a window at rect may fill: the available part of the screen that
// shows most of it, or of the primary screen when none shows any.
QRect AvailableAreaFor(const StoredRect& rect, const ScreenLayout& screens);

// Where a window of the given size goes when its stored place cannot be
// reached: centred on the primary screen the way a first start places it,
// never above or left of the screen.
QPoint CentredOnPrimary(const QSize& size, const ScreenLayout& screens);

// The geometry fields of the main window.
struct FormGeometry {
    int FViewNo = 1;
    int FSaveWidth = 0;
    int FSaveHeight = 0;
    int FSaveLeft = 0;
    int FSaveTop = 0;
    // Line 6 as read at start-up; written back by SaveFormSize ("4" when
    // none was read).
    std::optional<QString> FMonthLine;
};

struct FormSizeLoad {
    enum class Outcome {
        Created,  // no file: defaults set and written
        Read,     // file read; the window takes its geometry
        Garbled,  // a line 1..5 is missing or not a whole number
    };
    Outcome outcome = Outcome::Created;
    QString error;               // Garbled: the conversion error; Created: a write failure, if any
    bool movedOnScreen = false;  // the stored place was off every screen, or moved with a clamped size
    bool sizeClamped = false;    // the stored size was larger than the screen's available area
};

// Reads or creates Data/FormSize.ini into g (no window involved).
// monthText is FMonthText, line 6 of a newly created file. A stored size
// larger than the available screen is clamped to it (the window then starts
// at that area's edge); a place no screen shows is centred. The file itself
// keeps what it holds until the close button writes it.
FormSizeLoad ReadFormSize(const ProgramFolder& folder, FormGeometry& g, const QString& monthText,
                          const ScreenLayout& screens);

// Writes the six lines from g, replacing the file. False with the reason in
// *error when it could not be written.
bool WriteFormSize(const ProgramFolder& folder, const FormGeometry& g, QString* error = nullptr);

// The main window's LoadFormSize: ReadFormSize, then the window takes width,
// height, left and top from the fields, unless the file was garbled: then the
// conversion error goes to the general error report and the window keeps its
// design geometry.
FormSizeLoad LoadFormSize(QWidget* window, FormGeometry& g, const ProgramFolder& folder, const QString& monthText,
                          const ScreenLayout& screens = ScreenLayout::Current());

// The close action's half: the fields take the window's current geometry
// and the file is written. False when writing failed (error in *error).
bool SaveFormSize(const QWidget* window, FormGeometry& g, const ProgramFolder& folder, QString* error = nullptr);

}  // namespace qn
