// A platform for the tests of where windows stand: windows drawn offscreen,
// as on Qt's offscreen platform, but each top-level window in a frame such as
// a window manager puts around it, a title bar above and thin borders on the
// other sides, so that a window centred by its client area does not stand
// where one centred by its frame does. A window of fixed size has a thinner
// border than one the user can resize, so that one window's frame does not
// stand for another's.
//
// Frames: resizable  left 5, top 27, right 5, bottom 5 pixels;
//         fixed size left 2, top 24, right 2, bottom 2 pixels.
// The screen is 800 x 600 pixels at 96 dots an inch, as the offscreen one.

#include <qpa/qplatformbackingstore.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qplatformintegrationplugin.h>
#include <qpa/qplatformscreen.h>
#include <qpa/qplatformtheme.h>
#include <qpa/qplatformwindow.h>
#include <qpa/qwindowsysteminterface.h>

#include <QtGui/private/qgenericunixeventdispatcher_p.h>
#include <QtGui/private/qgenericunixfontdatabase_p.h>
#include <QtGui/private/qwindow_p.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWindow>

namespace {

class FramedScreen : public QPlatformScreen {
public:
    QRect geometry() const override { return {0, 0, 800, 600}; }
    int depth() const override { return 32; }
    QImage::Format format() const override { return QImage::Format_RGB32; }
    QDpi logicalDpi() const override { return {96, 96}; }
    QDpi logicalBaseDpi() const override { return {96, 96}; }
};

class FramedWindow : public QPlatformWindow {
public:
    explicit FramedWindow(QWindow *window) : QPlatformWindow(window)
    {
        static WId counter = 0;
        id_ = ++counter;
        if (window->windowState() == Qt::WindowNoState)
            setGeometry(windowGeometry());
        else
            setWindowState(window->windowStates());
    }

    QMargins frameMargins() const override
    {
        const Qt::WindowType type = window()->type();
        if (parent() || (window()->flags() & Qt::FramelessWindowHint) || (type != Qt::Window && type != Qt::Dialog) ||
            (window()->windowStates() & Qt::WindowFullScreen))
            return {};
        const bool fixed = window()->minimumSize() == window()->maximumSize();
        return fixed ? QMargins(2, 24, 2, 2) : QMargins(5, 27, 5, 5);
    }

    void setGeometry(const QRect &rect) override
    {
        if (window()->windowState() != Qt::WindowNoState)
            return;
        const QMargins frame = frameMargins();
        QRect placed = rect;
        placed.setSize(placed.size().expandedTo(QSize(1, 1)));
        if (qt_window_private(window())->positionPolicy == QWindowPrivate::WindowFrameInclusive)
            placed.translate(frame.left(), frame.top());
        place(placed);
        normal_ = placed;
    }

    void setWindowState(Qt::WindowStates state) override
    {
        if (state & Qt::WindowFullScreen)
            place(screen()->geometry());
        else if (state & Qt::WindowMaximized)
            place(screen()->availableGeometry() - frameMargins());
        else if (!(state & Qt::WindowMinimized) && normal_.isValid())
            place(normal_);
        QWindowSystemInterface::handleWindowStateChanged(window(), state);
    }

    void setVisible(bool visible) override
    {
        if (visible == visible_)
            return;
        visible_ = visible;
        if (visible) {
            if (window()->type() != Qt::ToolTip)
                QWindowSystemInterface::handleWindowActivated(window(), Qt::ActiveWindowFocusReason);
            QWindowSystemInterface::handleGeometryChange(window(), geometry());
            QWindowSystemInterface::handleExposeEvent(window(), QRect(QPoint(), geometry().size()));
        } else {
            QWindowSystemInterface::handleExposeEvent(window(), QRegion());
        }
    }

    void requestActivateWindow() override
    {
        if (visible_)
            QWindowSystemInterface::handleWindowActivated(window(), Qt::ActiveWindowFocusReason);
    }

    WId winId() const override { return id_; }

private:
    void place(const QRect &rect)
    {
        QPlatformWindow::setGeometry(rect);
        if (visible_) {
            QWindowSystemInterface::handleGeometryChange(window(), rect);
            QWindowSystemInterface::handleExposeEvent(window(), QRect(QPoint(), rect.size()));
        }
    }

    WId id_ = 0;
    bool visible_ = false;
    QRect normal_;
};

// Windows are painted into an image that is shown nowhere.
class FramedBackingStore : public QPlatformBackingStore {
public:
    using QPlatformBackingStore::QPlatformBackingStore;
    QPaintDevice *paintDevice() override { return &image_; }
    void flush(QWindow *, const QRegion &, const QPoint &) override {}
    void resize(const QSize &size, const QRegion &) override
    {
        if (image_.size() != size)
            image_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    }
    void beginPaint(const QRegion &region) override
    {
        QPainter painter(&image_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect &rect : region)
            painter.fillRect(rect, Qt::transparent);
    }
    QImage toImage() const override { return image_; }

private:
    QImage image_;
};

class FramedTheme : public QPlatformTheme {
public:
    QVariant themeHint(ThemeHint hint) const override
    {
        if (hint == StyleNames)
            return QStringList{QStringLiteral("Fusion")};
        return QPlatformTheme::themeHint(hint);
    }
};

class FramedIntegration : public QPlatformIntegration {
public:
    FramedIntegration() { QWindowSystemInterface::handleScreenAdded(screen_ = new FramedScreen, true); }
    ~FramedIntegration() override { QWindowSystemInterface::handleScreenRemoved(screen_); }

    bool hasCapability(Capability cap) const override
    {
        return cap == ThreadedPixmaps || cap == MultipleWindows || cap == NonFullScreenWindows ||
               cap == WindowActivation;
    }
    QPlatformWindow *createPlatformWindow(QWindow *window) const override { return new FramedWindow(window); }
    QPlatformBackingStore *createPlatformBackingStore(QWindow *window) const override
    {
        return new FramedBackingStore(window);
    }
    QAbstractEventDispatcher *createEventDispatcher() const override { return createUnixEventDispatcher(); }
    QPlatformFontDatabase *fontDatabase() const override { return &fonts_; }
    QStringList themeNames() const override { return {QStringLiteral("framed")}; }
    QPlatformTheme *createPlatformTheme(const QString &) const override { return new FramedTheme; }

private:
    FramedScreen *screen_ = nullptr;
    mutable QGenericUnixFontDatabase fonts_;
};

} // namespace

class FramedPlatformPlugin : public QPlatformIntegrationPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QPlatformIntegrationFactoryInterface_iid FILE "framed_platform.json")

public:
    QPlatformIntegration *create(const QString &key, const QStringList &) override
    {
        return key.compare(QLatin1String("velumir-framed"), Qt::CaseInsensitive) == 0 ? new FramedIntegration
                                                                                      : nullptr;
    }
};

#include "framed_platform.moc"
