#pragma once
// The floating window "悬浮窗": a small picture that stays on top while the
// main window is away. Double-clicking it brings the main window back.
// Its position is kept in Data/mincfg.ini (left, top).

#include "core/ProgramFolder.h"
#include "notes/frame/FormGeometry.h"

#include <QWidget>

class QLabel;

namespace qn {

class TBorderlessMover;

class TMiniHangFrm : public QWidget {
    Q_OBJECT
public:
    // screens: the layout used for the default position (tests hand in
    // their own); the default is the running application's screens.
    explicit TMiniHangFrm(const ProgramFolder& folder, QWidget* parent = nullptr,
                          const ScreenLayout& screens = ScreenLayout::Current());

    int FPosLeft = 0;
    int FPosTop = 0;
    QLabel* imgBG = nullptr;

    // Reads Data/mincfg.ini (creating it with the default place when it is
    // missing). Stops silently at the first line that is missing or not a
    // whole number; the fields not yet read stay 0.
    void LoadMiniPos();
    // Writes the window's current left and top (two lines). False (with the
    // message for the user in *error) when the file could not be written.
    bool SaveMiniPos(QString* error = nullptr);

    // Double-click on the picture: hide, remember the place, ask for the
    // main window, store the place (a failure to store it is reported).
    void imgBGDblClick();

signals:
    // The main window shows itself again (and its taskbar button).
    void restoreMainWindow();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();

    ProgramFolder m_folder;
    ScreenLayout m_screens;
};

}  // namespace qn
