#include "ui/controls/LogoStore.h"

#include <QImage>

// The resources live in the static library qxcore; a program linking it only keeps
// them when something registers them, so the store does that itself on first use.
// (Q_INIT_RESOURCE declares a global function: it must not sit in a namespace.)
static void EnsureLogoResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(LogoStore);
        return true;
    }();
    (void)registered;
}

namespace {

// The store keeps images (not pixmaps): they need no display and may outlive the
// application object when the program ends.
struct LogoStoreImages {
    QImage LogoSmall;
    QImage LogoLine;
};

const LogoStoreImages &Store()
{
    static const LogoStoreImages store = [] {
        EnsureLogoResources();
        LogoStoreImages images;
        images.LogoSmall.load(QStringLiteral(":/logostore/ImageHVLogoSmall.png"));
        images.LogoLine.load(QStringLiteral(":/logostore/ImageLogoLine.jpg"));
        return images;
    }();
    return store;
}

} // namespace

QPixmap LogoSmallPicture()
{
    return QPixmap::fromImage(Store().LogoSmall);
}

QPixmap LogoLinePicture()
{
    return QPixmap::fromImage(Store().LogoLine);
}
