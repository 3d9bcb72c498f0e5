#include "app/widgets/KIHON.h"

#include "app/AccessKey.h"
#include "app/MainCommands.h"
#include "base/ScreenFit.h"
#include "app/WorkAreaCommands.h"
#include "base/Workbench.h"
#include "app/widgets/CommandIcons.h"
#include "app/widgets/MessageBoxPort.h"
#include "app/widgets/QtClipboardPort.h"
#include "app/widgets/TimedEventPump.h"
#include "app/widgets/VersionWindow.h"
#include "display/DetailView.h"
#include "display/ListView.h"
#include "display/RtfBuilder.h"
#include "display/widgets/RichTextView.h"
#include "edit/DeselectCommand.h"
#include "edit/UndoCommand.h"
#include "edit/widgets/QUAV_Change_Settei.h"
#include "edit/widgets/QUAV_UPDATE.h"
#include "edit/widgets/Quav_Sort.h"
#include "edit/widgets/QUAV_Hozon.h"
#include "search/widgets/QUAV_SEARCH_SETTEI.h"
#include "settings/BreakReminder.h"
#include "settings/SettingsIo.h"
#include "settings/WorkAreaDump.h"
#include "settings/widgets/DRIVE_SETTEI.h"
#include "display/widgets/QUAV_Color_Settei.h"
#include "settings/widgets/QUAV_FOLDER_SENTAKU.h"
#include "search/widgets/QUAV_Search_Save.h"
#include "settings/widgets/Time_Kanri.h"
#include "template/widgets/Quav_Hinagata_Fukusei.h"
#include "template/widgets/Quav_Hinagata_Read.h"
#include "template/widgets/Quav_Parameter_Read.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

const QString KIHON::kCaption = QStringLiteral("QUAV Multi-File Search Workbench");

namespace {

constexpr int kTwips = Workbench::kTwipsPerPixel;

struct MenuItem
{
    MenuEntry entry;
    const char *caption;
};

struct Menu
{
    const char *name;
    const char *caption;
    std::initializer_list<MenuItem> entries;
};

const Menu kMenus[] = {
    {"M_FILE", "　ﾌｧｲﾙ(&F)　",
     {{MenuEntry::M_FILE_PATH, "ｻｰﾁﾊﾟｽ選択(&P)"},
      {MenuEntry::M_FILE_FOLDER, "ﾌｫﾙﾀﾞｰ選択(&F)"},
      {MenuEntry::M_FILE_PARAMETER, "ﾊﾟﾗﾒｰﾀｶｰﾄﾞ読み込み"},
      {MenuEntry::M_FILE_HINAGATA, "雛形読み込み"},
      {MenuEntry::M_FILE_SAVE, "保存(&S)"},
      {MenuEntry::M_FILE_UNDO, "保存の取り消し(&U)"},
      {MenuEntry::M_FILE_SAVE_SETTEI, "検索結果の保存"},
      {MenuEntry::M_FILE_EXIT, "終了(&X)"}}},
    {"M_EDIT", "　編集(&Ｅ)　",
     {{MenuEntry::M_EDIT_STOP, "中止(&C)"},
      {MenuEntry::M_EDIT_CLIP, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞｺﾋﾟｰ"},
      {MenuEntry::M_EDIT_SEARCH, "検索(&K)"},
      {MenuEntry::M_EDIT_DELETE, "削除(&D)"},
      {MenuEntry::M_EDIT_SORT, "並び替え(&S)"},
      {MenuEntry::M_EDIT_CHANGE, "置替(&O)"},
      {MenuEntry::M_EDIT_EDIT, "簡易編集(&E)"},
      {MenuEntry::M_EDIT_CLEAR, "作業エリアのクリア(&L)"},
      {MenuEntry::M_EDIT_HINA_FUKUSEI, "雛形複製(&F)"}}},
    {"M_DISP", "　表示(&V)　",
     {{MenuEntry::M_DISP_ITIRAN, "一覧画面表示"}, {MenuEntry::M_DISP_SYOUSAI, "詳細画面表示"}, {MenuEntry::M_DISP_COLOR, "ｶﾗｰﾊﾟﾚｯﾄ(&C)"}}},
    {"M_CONFIG", "　設定(&C)　",
     {{MenuEntry::M_DISP_TOOL_BAR, "ﾂｰﾙﾊﾞｰ表示(&T)"},
      {MenuEntry::M_DISP_STATUS_BAR, "ｽﾃｰﾀｽﾊﾞｰ表示(&S)"},
      {MenuEntry::M_CONFIG_DATE, "日付時間(&D)"},
      {MenuEntry::M_CONFIG_UNDO, "保存の取り消し用に元の内容を残す"}}},
    {"M_HELP", "　ﾍﾙﾌﾟ(&H)　", {{MenuEntry::M_HELP_VER, "ﾊﾞｰｼﾞｮﾝ情報"}}},
};

} // namespace

KIHON::KIHON(Workbench &wb)
    : m_wb(wb)
    , m_messagePort(std::make_unique<MessageBoxPort>())
    , m_clipboard(std::make_unique<QtClipboardPort>())
{
    setWindowTitle(kCaption);
    setWindowIcon(applicationIcon());
    m_pump = std::make_unique<TimedEventPump>(this);

    m_client = new QWidget(this);
    setCentralWidget(m_client);
    buildToolbar();
    buildMenus();
    buildStatusBar();

    m_listView = new RichTextView(m_client);
    m_listView->setObjectName(QStringLiteral("RTB_Search_Kekka"));
    m_detailView = new RichTextView(m_client);
    m_detailView->setObjectName(QStringLiteral("RTB_Syousai_Disp"));
    m_detailView->hide();

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(60000);
    // Never early: a tick just short of the due time would put the reminder
    // off by a whole period.
    m_timer1->setTimerType(Qt::PreciseTimer);
    connect(m_timer1, &QTimer::timeout, this, &KIHON::Timer1_Timer);

    m_wb.messages = m_messagePort.get();
    m_wb.progress = this;
    m_wb.listView = m_listView;
    m_wb.detailView = m_detailView;
    m_wb.clipboard = m_clipboard.get();
    m_wb.pump = m_pump.get();
    m_wb.menuSettei = [this] { MENU_SETTEI(); };

    connect(&m_wb.board, &CommandBoard::changed, this, [this](Command command) {
        if (QAction *a = m_buttons[size_t(command)]) {
            a->setEnabled(m_wb.board.isEnabled(command));
            a->setVisible(m_wb.board.isVisible(command));
        }
    });
    connect(&m_wb.status, &StatusPanels::changed, this, [this](StatusPanel panel, const QString &text) {
        if (QLabel *l = m_panels[size_t(panel)])
            l->setText(text);
    });
    connect(&m_wb.board, &CommandBoard::busyChanged, this, [this](bool busy) {
        // Queued: the operation that left the busy state finishes first.
        if (!busy && m_closeWhenIdle)
            QTimer::singleShot(0, this, &QWidget::close);
    });
    connect(m_listView, &RichTextView::clicked, this, [this] { ListView::KIHON_RTB_Search_Kekka_Click(m_wb); });
    connect(m_listView, &RichTextView::doubleClicked, this,
            [this] { DetailView::Show_Detail_View(m_wb, DetailView::Origin::DoubleClick); });
}

KIHON::~KIHON()
{
    // The ports die with the window; the workbench must not keep them.
    m_wb.detachPorts();
    m_wb.menuSettei = nullptr;
}

void KIHON::buildToolbar()
{
    m_toolbar = new QToolBar(m_client);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setIconSize(QSize(20, 20));
    for (const CommandInfo &c : Commands::table()) {
        const QString key = QString::fromLatin1(c.key);
        QAction *a = m_toolbar->addAction(CommandIcons::icon(c.command), QString::fromUtf8(c.tooltip));
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(c.tooltip));
        a->setData(key);
        m_buttons[size_t(c.command)] = a;
        connect(a, &QAction::triggered, this,
                [this, command = c.command] { runCommand(command, Origin::Toolbar); });
    }
}

void KIHON::buildMenus()
{
    for (const Menu &m : kMenus) {
        QMenu *menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        addFoldedAccessKey(menu);
        // A menu never offers what the toolbar does not.
        connect(menu, &QMenu::aboutToShow, this, &KIHON::MENU_SETTEI);
        for (const MenuItem &e : m.entries) {
            QAction *a = menu->addAction(QString::fromUtf8(e.caption));
            a->setObjectName(MenuEntries::nameOf(e.entry));
            m_menuEntries[size_t(e.entry)] = a;
            switch (e.entry) {
            case MenuEntry::M_DISP_TOOL_BAR:
                a->setCheckable(true);
                connect(a, &QAction::triggered, this, &KIHON::M_DISP_TOOL_BAR_Click);
                break;
            case MenuEntry::M_DISP_STATUS_BAR:
                a->setCheckable(true);
                connect(a, &QAction::triggered, this, &KIHON::M_DISP_STATUS_BAR_Click);
                break;
            case MenuEntry::M_FILE_UNDO:
                connect(a, &QAction::triggered, this, &KIHON::M_FILE_UNDO_Click);
                break;
            case MenuEntry::M_CONFIG_UNDO:
                a->setCheckable(true);
                connect(a, &QAction::triggered, this, &KIHON::M_CONFIG_UNDO_Click);
                break;
            case MenuEntry::M_HELP_VER:
                connect(a, &QAction::triggered, this, &KIHON::M_HELP_VER_Click);
                break;
            default:
                if (const std::optional<Command> command = Commands::ofMenuEntry(e.entry))
                    connect(a, &QAction::triggered, this, [this, c = *command] { runCommand(c, Origin::Menu); });
                break;
            }
        }
    }
}

void KIHON::addFoldedAccessKey(QMenu *menu)
{
    // "編集(&Ｅ)" marks a full-width letter, which no key sends: Alt with
    // the ASCII letter opens the menu all the same.
    const QString caption = menu->title();
    if (!AccessKey::needsFolding(caption))
        return;
    const QChar key = AccessKey::Of(caption);
    auto *shortcut = new QShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, Qt::Key(key.unicode()))), this);
    connect(shortcut, &QShortcut::activated, this, [this, menu] {
        if (menuBar()->isEnabled())
            menuBar()->setActiveAction(menu->menuAction());
    });
}

QIcon KIHON::applicationIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/quav/icons/quav-%1.png").arg(size), QSize(size, size));
    return icon;
}

void KIHON::buildStatusBar()
{
    m_statusBar = new QStatusBar(m_client);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setSizeGripEnabled(false);
    const struct
    {
        StatusPanel key;
        int stretch;
        int minimum;
    } panels[] = {
        {StatusPanels::kSearch, 0, 90},
        {StatusPanels::kPath, 4, 160},
        {StatusPanels::kWord, 2, 90},
        {StatusPanels::kHitSu, 0, 120},
    };
    for (const auto &p : panels) {
        auto *label = new QLabel(m_statusBar);
        label->setObjectName(StatusPanels::keyOf(p.key));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(p.minimum);
        label->setTextFormat(Qt::PlainText);
        m_statusBar->addPermanentWidget(label, p.stretch);
        m_panels[size_t(p.key)] = label;
    }
    m_progress = new QProgressBar(m_client);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setTextVisible(false);
    m_progress->hide();
}

void KIHON::Form_Load(const QString &startDir)
{
    const QString storeError = MainCommands::Startup(m_wb, startDir);

    fitOntoScreen();
    const Settings &s = m_wb.settings;
    setGeometry(s.FORM_X / kTwips, s.FORM_Y / kTwips, s.Width / kTwips, s.Height / kTwips);

    // The break reminder polls the clock while it is on.
    if (BreakReminder::Arm(m_wb.settings, m_wb.VDT_Next_Time, QDateTime::currentMSecsSinceEpoch()))
        m_timer1->start();
    else
        m_timer1->stop();

    applyBars(s.T_Bar != 0, s.S_Bar != 0);
    menuEntry(MenuEntry::M_DISP_TOOL_BAR)->setChecked(s.T_Bar != 0);
    menuEntry(MenuEntry::M_DISP_STATUS_BAR)->setChecked(s.S_Bar != 0);
    menuEntry(MenuEntry::M_CONFIG_UNDO)->setChecked(s.UNDO_FLG != 0);

    RtfBuilder::Make_RTF_Colors(m_wb.display, m_wb.settings);
    MENU_SETTEI();
    if (!storeError.isEmpty())
        showError(storeError + QStringLiteral("\r\n") + SettingsIo::kNotSaved, SettingsIo::kRepairCaption);
    UndoCommand::offerRecovery(m_wb);
}

void KIHON::fitOntoScreen()
{
    // A geometry stored on another monitor or at another scale factor is
    // brought onto the screens there are now; dialogs centre on the result.
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    Settings &s = m_wb.settings;
    const QRect stored(s.FORM_X / kTwips, s.FORM_Y / kTwips, s.Width / kTwips, s.Height / kTwips);
    // The frame is not known before the window is shown: room for a title
    // bar and borders is left as most desktops draw them.
    const QRect fitted = ScreenFit::fitWindow(stored, screens, QMargins(4, 32, 4, 4));
    if (fitted == stored)
        return;
    s.FORM_X = m_wb.mainLeft = fitted.x() * kTwips;
    s.FORM_Y = m_wb.mainTop = fitted.y() * kTwips;
    s.Width = m_wb.mainWidth = fitted.width() * kTwips;
    s.Height = m_wb.mainHeight = fitted.height() * kTwips;
}

void KIHON::applyBars(bool toolbarShown, bool statusShown)
{
    m_toolbar->setVisible(toolbarShown);
    m_statusBar->setVisible(statusShown);
    m_frame = ViewFrame::fitted(m_client->height() * kTwips, toolbarShown, statusShown);
    layoutClientArea();
}

void KIHON::layoutClientArea()
{
    const int w = m_client->width();
    const int h = m_client->height();
    const int toolbarHeight = ViewFrame::kToolbarTwips / kTwips;
    const int statusHeight = (ViewFrame::kStatusBarTwips + kTwips - 1) / kTwips;
    m_toolbar->setGeometry(0, 0, w, toolbarHeight);
    m_statusBar->setGeometry(0, h - statusHeight, w, statusHeight);
    const QRect views(0, m_frame.top / kTwips, w, std::max(0, m_frame.height / kTwips));
    m_listView->setGeometry(views);
    m_detailView->setGeometry(views);
    // The progress bar runs along the bottom of the views.
    m_progress->setGeometry(0, views.bottom() - 17, w, 18);
    m_progress->raise();
}

void KIHON::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // The views follow the window: their top stays, their height takes what
    // the toolbar and the status bar leave.
    m_frame.height = m_client->height() * kTwips - m_frame.top
        - (m_statusBar->isVisibleTo(m_client) ? ViewFrame::kStatusBarTwips : 0);
    layoutClientArea();
}

void KIHON::MENU_SETTEI()
{
    for (const CommandInfo &c : Commands::table()) {
        if (c.menuEntry)
            menuEntry(*c.menuEntry)->setEnabled(m_wb.board.isEnabled(c.command));
    }
    // Not a toolbar command: open whenever no operation runs.
    menuEntry(MenuEntry::M_FILE_UNDO)->setEnabled(!m_wb.board.isBusy());
}

void KIHON::refreshGeometrySettings()
{
    const QRect g = geometry();
    m_wb.settings.FORM_X = g.x() * kTwips;
    m_wb.settings.FORM_Y = g.y() * kTwips;
    m_wb.settings.Width = g.width() * kTwips;
    m_wb.settings.Height = g.height() * kTwips;
}

void KIHON::showError(const QString &text, const QString &caption)
{
    m_wb.messages->show(text, caption, MessagePort::Icon::Critical);
}

void KIHON::M_FILE_UNDO_Click()
{
    UndoCommand::undoLastSave(m_wb);
    MENU_SETTEI();
}

void KIHON::M_CONFIG_UNDO_Click()
{
    QAction *entry = menuEntry(MenuEntry::M_CONFIG_UNDO);
    m_wb.settings.UNDO_FLG = entry->isChecked() ? 1 : 0;
    QString error;
    if (!SettingsIo::Write_Execute(m_wb, &error))
        showError(error, UndoRestore::kCaption);
}

void KIHON::M_DISP_TOOL_BAR_Click()
{
    toggleBar(MenuEntry::M_DISP_TOOL_BAR, m_toolbar, &MainCommands::toggleToolBar);
}

void KIHON::M_DISP_STATUS_BAR_Click()
{
    toggleBar(MenuEntry::M_DISP_STATUS_BAR, m_statusBar, &MainCommands::toggleStatusBar);
}

void KIHON::toggleBar(MenuEntry which, QWidget *bar,
                      bool (*toggle)(Workbench &, ViewFrame &, bool))
{
    QAction *entry = menuEntry(which);
    // QAction toggles its check mark before it reports; the handler works
    // from the mark the user saw.
    const bool wasChecked = !entry->isChecked();
    refreshGeometrySettings();
    const bool nowChecked = toggle(m_wb, m_frame, wasChecked);
    bar->setVisible(nowChecked);
    entry->setChecked(nowChecked);
    layoutClientArea();
}

void KIHON::M_HELP_VER_Click()
{
    auto *w = new VersionWindow(m_wb);
    w->openFrom(this);
}

void KIHON::endProgram()
{
    if (!MainCommands::confirmEnd(m_wb.work, *m_wb.messages))
        return;
    refreshGeometrySettings();
    SettingsIo::Write_Window_Config(m_wb);
    m_closing = true;
    close();
}

void KIHON::closeEvent(QCloseEvent *event)
{
    // A long operation is on the stack below this event (it pumps the event
    // loop): it is stopped as STOP does, and the window closes once it has
    // ended, so that nothing runs on for a window that is gone.
    if (m_wb.board.isBusy()) {
        MainCommands::Stop(m_wb.work);
        m_closeWhenIdle = true;
        event->ignore();
        return;
    }
    m_closeWhenIdle = false;
    // Closed by the window's close box (or its keys): asked as END asks, and
    // the configuration is written too.
    if (!m_closing) {
        if (!MainCommands::confirmEnd(m_wb.work, *m_wb.messages)) {
            event->ignore();
            return;
        }
        refreshGeometrySettings();
        SettingsIo::Write_Window_Config(m_wb);
    }
    event->accept();
    // Not quit(): it asks every window to close first, and a dialog that a
    // child dialog has disabled refuses, which would cancel the quit.
    QCoreApplication::exit(0);
}

bool KIHON::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
    case QEvent::WindowActivate:
        Form_Activate();
        break;
    case QEvent::WindowDeactivate:
    case QEvent::Move:
        m_wb.mainLeft = geometry().x() * kTwips;
        m_wb.mainTop = geometry().y() * kTwips;
        break;
    default:
        break;
    }
    return handled;
}

void KIHON::Form_Activate()
{
    MainCommands::Activate(m_wb, m_detailView->isShown());
    m_wb.mainLeft = geometry().x() * kTwips;
    m_wb.mainTop = geometry().y() * kTwips;
}

void KIHON::setRange(int minimum, int maximum)
{
    m_progress->setRange(minimum, std::max(minimum, maximum));
}

void KIHON::setValue(int value)
{
    m_progress->setValue(value);
}

void KIHON::setShown(bool shown)
{
    m_progress->setVisible(shown);
    if (shown)
        m_progress->raise();
}

void KIHON::runCommand(Command command, Origin origin)
{
    // A command whose button is disabled is not offered, whichever road it
    // came by (a menu mirrors the toolbar only when opened).
    if (!m_wb.board.isEnabled(command))
        return;
    switch (command) {
    case Command::DRIVE:
        (new DRIVE_SETTEI(m_wb))->openFrom(this);
        break;
    case Command::FOLDER:
        (new QUAV_FOLDER_SENTAKU(m_wb))->openFrom(this);
        break;
    case Command::SEARCH:
        (new QUAV_SEARCH_SETTEI(m_wb, [this] { MainCommands::buildResultViews(m_wb); }))->openFrom(this);
        break;
    case Command::CLEAR:
        WorkAreaCommands::Clear_Work_Area(m_wb);
        break;
    case Command::CLIP:
        WorkAreaCommands::Copy_Selection(m_wb);
        break;
    case Command::STOP:
        MainCommands::Stop(m_wb.work);
        break;
    case Command::DISP_SEARCH:
        ListView::Show_List_View(m_wb, origin == Origin::Toolbar);
        break;
    case Command::DISP:
        DetailView::Show_Detail_View(m_wb, origin == Origin::Toolbar ? DetailView::Origin::Toolbar
                                                                     : DetailView::Origin::Menu);
        break;
    case Command::END:
        endProgram();
        break;
    case Command::HINA_FUKUSEI:
        if (MainCommands::checkFukusei(m_wb.Param_Count, *m_wb.messages))
            openHinagataFukusei();
        break;
    case Command::HOZON:
        openHozon();
        break;
    case Command::SEARCH_SAVE:
        openSearchSave();
        break;
    case Command::FILE_DELETE:
        deleteFile();
        break;
    case Command::SORT:
        openSort();
        break;
    case Command::CHANGE:
        openChangeSettei();
        break;
    case Command::UPDATE:
        openUpdate();
        break;
    case Command::PARAMETER:
        openParameterRead();
        break;
    case Command::HINAGATA:
        openHinagataRead();
        break;
    case Command::TIME:
        openTimeKanri(origin == Origin::Menu);
        break;
    case Command::SETTEI:
        openColorSettei();
        break;
    case Command::NONE1:
        writeDump();
        break;
    }
}

void KIHON::deleteFile()
{
    DeselectCommand::KIHON_M_EDIT_DELETE_Click(m_wb);
}

void KIHON::openSort()
{
    (new Quav_Sort(m_wb))->openFrom(this);
}

void KIHON::openChangeSettei()
{
    (new QUAV_Change_Settei(m_wb))->openFrom(this);
}

void KIHON::openUpdate()
{
    (new QUAV_UPDATE(m_wb))->openFrom(this);
}

void KIHON::openParameterRead()
{
    (new Quav_Parameter_Read(m_wb))->openFrom(this);
}

void KIHON::openHinagataRead()
{
    (new Quav_Hinagata_Read(m_wb))->openFrom(this);
}

void KIHON::openHinagataFukusei()
{
    (new Quav_Hinagata_Fukusei(m_wb))->openFrom(this);
}

void KIHON::openHozon()
{
    (new QUAV_Hozon(m_wb))->openFrom(this);
}

void KIHON::openSearchSave()
{
    (new QUAV_Search_Save(m_wb))->openFrom(this);
}

void KIHON::openColorSettei()
{
    (new QUAV_Color_Settei(m_wb))->openFrom(this);
}

Time_Kanri *KIHON::ensureTimeKanri()
{
    if (!m_timeKanri)
        m_timeKanri = new Time_Kanri(m_wb, m_timer1);
    return m_timeKanri;
}

void KIHON::openTimeKanri(bool fromMenu)
{
    // From the toolbar the main window stays usable.
    ensureTimeKanri()->showSettingsView(fromMenu ? this : nullptr);
}

Time_Kanri *KIHON::timeKanri() const
{
    return m_timeKanri;
}

void KIHON::Timer1_Timer()
{
    if (BreakReminder::isDue(m_wb.VDT_Next_Time, QDateTime::currentMSecsSinceEpoch()))
        ensureTimeKanri()->showReminderView();
}

void KIHON::writeDump()
{
    const WriteResult r = WorkAreaDump::writeDump(m_wb.work, WorkAreaDump::dumpFolder(), QDateTime::currentDateTime());
    if (!r.ok())
        showError(r.error, WorkAreaDump::kCaption);
    else
        qInfo("%s", qPrintable(r.path));
}
