#include "shell/frm_main.h"

#include "browser/new_testament_window.h"
#include "runtime/controls/caption_toolbar.h"
#include "runtime/controls/common_dialog.h"
#include "runtime/controls/image_list.h"
#include "runtime/controls/menu.h"
#include "runtime/controls/toolbar.h"
#include "runtime/data/variant.h"
#include "runtime/system/settings.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>

namespace velumir {

frmMain::frmMain(rt::Program &program) : rt::MdiParent(program) {}

void frmMain::design()
{
    setCaption("Velumir (V.3.0.1)");
    setClientSize(10335, 5820);
    setStartMaximized(true);
    mdiArea()->setBackground(rt::colorOf(0x00C0E0FF));
    designMenus();
    designToolbars();

    connectMenus();
    tbToolBar_->ButtonClick.connect([this](rt::ToolbarButton &button) { tbToolBar_ButtonClick(button); });
    Toolbar1_->ButtonClick.connect([this](int index, std::string key) { Toolbar1_ButtonClick(index, key); });

    dlgCommonDialog_ = add<rt::CommonDialog>();
    dlgCommonDialog_->setFlags(2);
    ImageList1_ = add<rt::ImageList>();
    for (const char *picture : {":/icon-app.svg", ":/icon-document.svg", ":/icon-letter.svg", ":/nav-bible.svg",
                                ":/nav-dictionary.svg", ":/nav-concordance.svg", ":/nav-khmer-dictionary.svg",
                                ":/nav-pictures.svg", ":/nav-arrange.svg", ":/globe.svg", ":/flag-cambodia.svg",
                                ":/tree-book-open.svg"})
        ImageList1_->add(picture);
}

rt::MenuItem *frmMain::addMenuItem(QMenu *menu, const std::string &name, const std::string &caption,
                                   const QKeySequence &shortcut)
{
    auto *item = add<rt::MenuItem>(menu, caption, shortcut);
    menus_[name] = item;
    return item;
}

void frmMain::designMenus()
{
    QMenuBar *bar = static_cast<QMainWindow *>(outer())->menuBar();
    menus_.clear();

    QMenu *file = bar->addMenu("File");
    addMenuItem(file, "mnuFileNew", "New");
    addMenuItem(file, "mnuFileOpen", "Open");
    addMenuItem(file, "mnuFileSave", "Save", QKeySequence(Qt::CTRL | Qt::Key_S));
    addMenuItem(file, "mnuPrint", "Print");
    addMenuItem(file, "Sep1", "-");
    addMenuItem(file, "mniExit", "Exit");

    QMenu *bible = bar->addMenu("Bible");
    addMenuItem(bible, "mnuOT", "Old Testment");
    addMenuItem(bible, "mnuNT", "New Testment");
    addMenuItem(bible, "Sep3", "-");
    addMenuItem(bible, "mnuBD", "Bible Dictionary");
    addMenuItem(bible, "mnuKH", "Khmer Dictionary");
    addMenuItem(bible, "mnuCon", "Concordance");

    QMenu *format = bar->addMenu("Format");
    addMenuItem(format, "mnuFmtBold", "Bold", QKeySequence(Qt::CTRL | Qt::Key_B));
    addMenuItem(format, "mnuFmtItalic", "Italic", QKeySequence(Qt::CTRL | Qt::Key_I));
    addMenuItem(format, "Sep7", "-");
    QMenu *size = addMenuItem(format, "mnuFmtSize", "Size")->submenu();
    addMenuItem(size, "mnuFmtSizeSmall", "Small");
    addMenuItem(size, "mnuFmtSizeMedium", "Medium");
    addMenuItem(size, "mnuFmtSizeLarge", "Large");
    addMenuItem(format, "Sep6", "-");
    addMenuItem(format, "mnuFmtFont", "Font");
    addMenuItem(format, "mnuFmtColor", "Color");
    addMenuItem(format, "sep2", "-");

    QMenu *pictures = bar->addMenu("Pictuers");
    addMenuItem(pictures, "mnuMaps", "Pictures");
    addMenuItem(pictures, "sep4", "-");

    QMenu *window = bar->addMenu("Window");
    addMenuItem(window, "mnuTH", "Tile Horizontally");
    addMenuItem(window, "sep5", "-");
    windowList_.clear();
    QObject::connect(window, &QMenu::aboutToShow, window, [this, window] { listChildWindows(window); });

    // A menu-bar item without a menu: choosing it does nothing.
    bar->addAction("FindWord");

    QMenu *help = bar->addMenu("Help");
    addMenuItem(help, "mnuAbo", "About");
    addMenuItem(help, "mnuHelp", "Letter");
}

void frmMain::connectMenus()
{
    const std::pair<const char *, void (frmMain::*)()> handlers[] = {
        {"mnuFileNew", &frmMain::mnuFileNew_Click},
        {"mnuFileOpen", &frmMain::mnuFileOpen_Click},
        {"mnuFileSave", &frmMain::mnuFileSave_Click},
        {"mnuPrint", &frmMain::mnuPrint_Click},
        {"mniExit", &frmMain::mniExit_Click},
        {"mnuOT", &frmMain::mnuOT_Click},
        {"mnuNT", &frmMain::mnuNT_Click},
        {"mnuBD", &frmMain::mnuBD_Click},
        {"mnuKH", &frmMain::mnuKH_Click},
        {"mnuCon", &frmMain::mnuCon_Click},
        {"mnuFmtBold", &frmMain::mnuFmtBold_Click},
        {"mnuFmtItalic", &frmMain::mnuFmtItalic_Click},
        {"mnuFmtSizeSmall", &frmMain::mnuFmtSizeSmall_Click},
        {"mnuFmtSizeMedium", &frmMain::mnuFmtSizeMedium_Click},
        {"mnuFmtSizeLarge", &frmMain::mnuFmtSizeLarge_Click},
        {"mnuFmtFont", &frmMain::mnuFmtFont_Click},
        {"mnuFmtColor", &frmMain::mnuFmtColor_Click},
        {"mnuMaps", &frmMain::mnuMaps_Click},
        {"mnuTH", &frmMain::mnuTH_Click},
        {"mnuAbo", &frmMain::mnuAbo_Click},
        {"mnuHelp", &frmMain::mnuHelp_Click},
    };
    for (const auto &entry : handlers)
        menus_.at(entry.first)->Click.connect([this, handler = entry.second] { (this->*handler)(); });
}

void frmMain::designToolbars()
{
    imlToolbarIcons_ = add<rt::ImageList>();
    imlToolbarIcons_->setImageSize(16, 16);
    const std::pair<const char *, const char *> icons[] = {
        {":/tb-new.svg", "New"},           {":/tb-open.svg", "Open"},         {":/tb-save.svg", "Save"},
        {":/tb-print.svg", "Print"},       {":/tb-cut.svg", "Cut"},           {":/tb-copy.svg", "Copy"},
        {":/tb-paste.svg", "Paste"},       {":/tb-bold.svg", "Bold"},         {":/tb-italic.svg", "Italic"},
        {":/tb-underline.svg", "Underline"}, {":/tb-align-left.svg", "Align Left"}, {":/tb-center.svg", "Center"},
        {":/tb-align-right.svg", "Align Right"}, {":/tb-color.svg", "Color"}, {":/tb-pencil.svg", ""},
        {":/tb-font.svg", ""}};
    for (const auto &[picture, key] : icons)
        imlToolbarIcons_->add(picture, key);

    using rt::ButtonStyle;
    tbToolBar_ = add<rt::Toolbar>();
    tbToolBar_->setImageList(imlToolbarIcons_);
    tbToolBar_->Move(0, 0, 10335, 420);
    tbToolBar_->addButton("New", "New", ButtonStyle::Push, "New");
    tbToolBar_->addButton("Open", "Open", ButtonStyle::Push, "Open");
    tbToolBar_->addButton("Save", "Save", ButtonStyle::Push, "Save");
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Print", "Print", ButtonStyle::Push, "Print");
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Copy", "Copy", ButtonStyle::Push, "Copy");
    tbToolBar_->addButton("Paste", "Paste", ButtonStyle::Push, "Paste");
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Bold", "Bold", ButtonStyle::Push, "Bold");
    tbToolBar_->addButton("Italic", "Italic", ButtonStyle::Push, "Italic");
    tbToolBar_->addButton("Underline", "Underline", ButtonStyle::Push, "Underline");
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Align Left", "Align Left", ButtonStyle::Group, "Align Left");
    tbToolBar_->addButton("Center", "Center", ButtonStyle::Group, "Center");
    tbToolBar_->addButton("Align Right", "Aligh Right", ButtonStyle::Group, "Align Right");
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Color", "Text Color", ButtonStyle::Push, 14);
    tbToolBar_->addSeparator();
    tbToolBar_->addButton("Font", "Khmer Font", ButtonStyle::Push, 16);

    Toolbar1_ = add<rt::CaptionToolbar>();
    Toolbar1_->Move(0, 420, 10335, 765);
    Toolbar1_->setCaptionFont({"Limon R2", 14.25f});
    Toolbar1_->setTooltipFont({"MS Sans Serif", 8.25f});
    Toolbar1_->addButton("OT", "Km<IrsBa\xD8" "acas;", "Old Testament", ":/nav-bible.svg");
    Toolbar1_->addButton("NT", "Km<IrsBa\xD8" "af\xB5I", "New Testament", ":/nav-bible.svg");
    Toolbar1_->addButton("Dictionary", "vcnanuRkmRBHKm<Ir", "Bible Dictionary", ":/nav-dictionary.svg");
    Toolbar1_->addButton("CON", "xeyagnigBn\xFCl;", "Concordance", ":/nav-concordance.svg");
    Toolbar1_->addButton("KH", "vcnanuRkmEx\xB5r", "Khmer Dictionary", ":/nav-khmer-dictionary.svg");
    Toolbar1_->addButton("PIC", "rUbPaB", "Picture", ":/nav-pictures.svg");
    Toolbar1_->addButton("TH", "erobcMTRmg;", "Arrange", ":/nav-arrange.svg");
}

rt::Toolbar &frmMain::tbToolBar() { Load(); return *tbToolBar_; }
rt::CaptionToolbar &frmMain::Toolbar1() { Load(); return *Toolbar1_; }
rt::CommonDialog &frmMain::dlgCommonDialog() { Load(); return *dlgCommonDialog_; }
rt::ImageList &frmMain::imlToolbarIcons() { Load(); return *imlToolbarIcons_; }
rt::ImageList &frmMain::ImageList1() { Load(); return *ImageList1_; }

rt::MenuItem &frmMain::menu(const std::string &name)
{
    Load();
    auto found = menus_.find(name);
    if (found == menus_.end())
        rt::raise(rt::err::NoSuchMember);
    return *found->second;
}

void frmMain::MDIForm_Load()
{
    form<NT>().Show();
}

void frmMain::mniExit_Click()
{
    program().End();
}

void frmMain::MDIForm_Unload(int &)
{
    if (WindowState() == rt::vbMinimized)
        return;
    rt::Settings &settings = program().settings();
    const std::string &app = program().Title();
    settings.SaveSetting(app, "Settings", "MainLeft", rt::numberText(Left(), 7));
    settings.SaveSetting(app, "Settings", "MainTop", rt::numberText(Top(), 7));
    settings.SaveSetting(app, "Settings", "MainWidth", rt::numberText(Width(), 7));
    settings.SaveSetting(app, "Settings", "MainHeight", rt::numberText(Height(), 7));
}

} // namespace velumir
