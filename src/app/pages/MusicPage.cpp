#include "app/pages/MusicPage.h"

#include <QGroupBox>
#include <QLabel>

#include "widgets/Artwork.h"
#include "widgets/ControlKit.h"
#include "widgets/Geometry.h"

namespace velmor::app {

using namespace widgets;   // the window is laid out with the widget kit throughout
using namespace controls;  // and its controls are named by the control table

MusicPage::MusicPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("MusicPage"));
    // Wider than the tab and starting left of it, so that no grey edge shows round the black.
    QGroupBox* page = pageFrame(this, kFrame6, -120, 5892);
    paintDark(page);

    picture(page, kImage1, artwork::picture(artwork::Picture::SmallLogo),
            twipRect(240, 240, 900, 396), false);
    fittedLabel(page, kLabel17, QStringLiteral("Set Timer"), twipRect(480, 840, 696, 192));
    textBox(page, kText1, twipRect(720, 1080, 372, 288));
    QLabel* colon = label(page, kLabel6, QStringLiteral(":"), twipRect(1080, 1080, 252, 252));
    colon->setFont(dialogFont(12.0, true));
    colon->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    textBox(page, kText2, twipRect(1320, 1080, 372, 288),
            QStringLiteral("You can only put up to 59 seconds"));
    fittedLabel(page, kLabel10, QStringLiteral("Time to next song:"),
                twipRect(480, 1560, 1296, 192));
    comboBox(page, kMusicList, twipRect(480, 1800, 4932, 288));
    pushButton(page, kCommand11, QStringLiteral("Select Music"), twipRect(3720, 720, 1692, 252));
    pushButton(page, kCommand10, QStringLiteral("Edit Playlist"), twipRect(3720, 1200, 1692, 252));
    pushButton(page, kCommand9, QStringLiteral("Stop"), twipRect(1680, 2160, 852, 252));
    pushButton(page, kCommand13, QStringLiteral("Play"), twipRect(2520, 2160, 852, 252));
    pushButton(page, kCommand14, QStringLiteral("Next"), twipRect(3360, 2160, 852, 252));
}

}  // namespace velmor::app
