#include "app/Form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFont>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include "platform/linux/com_name_table.h"
#include "platform/linux/steady_counter.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_serial_control.h"
#include "session/session.h"
#include "ui_Form1.h"

namespace {

constexpr int kTimerIntervalMs = 100;
// The design size of the client area; the menu bar comes on top of it.
constexpr int kClientWidth = 571;
constexpr int kClientHeight = 666;

template <typename Widget> Widget* child(QObject& parent, std::string_view designerName) {
    return parent.findChild<Widget*>(
        QString::fromUtf8(designerName.data(), static_cast<qsizetype>(designerName.size())));
}

} // namespace

// The platform's side of the link.
struct Form1::Facilities {
    explicit Facilities(const Form1Seams& seams)
        : MSComm5(ComNameTable(seams.portLinkFolder, seams.linksOnly
                                                         ? ComNameTable::Scope::LinksOnly
                                                         : ComNameTable::Scope::Full)) {}
    SteadyMillisecondCounter counter;
    QtEventPump pump;
    QtSerialControl MSComm5;
};

Form1::Form1(Form1Seams seams, QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::Form1>()),
      facilities_(std::make_unique<Facilities>(seams)),
      session_(std::make_unique<Session>(SessionSeams{seams.boxes, seams.tones, seams.console,
                                                      facilities_->MSComm5, facilities_->counter,
                                                      facilities_->pump, seams.consoleProgram,
                                                      seams.workFolder},
                                         *this)) {
    ui->setupUi(this);
    // Whole-pixel advances: the blank runs of the function lines then set "y =" before the
    // slope box and "x +" between the two boxes.
    QFont captions = font();
    captions.setHintingPreference(QFont::PreferFullHinting);
    setFont(captions);
    // The unchanged layout in a scroll area: on a screen lower than the design the scroll bars
    // reach the rest, and Tab scrolls the focused control into view.
    auto* scroller = new QScrollArea(this);
    scroller->setFrameShape(QFrame::NoFrame);
    // Not a stop of its own in the tab walk.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidget(takeCentralWidget());
    setCentralWidget(scroller);
    fitContent();
    QSize size(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
    // Lower than the design: room for the vertical bar, so that the width needs no other.
    if (size.height() > screen()->availableSize().height()) {
        size.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    }
    resize(size.boundedTo(screen()->availableSize()));
    for (const BoxName box : BoxName::all()) {
        boxes_.emplace(box, child<QLineEdit>(*this, box.designerName()));
    }
    for (const ButtonName button : ButtonName::all()) {
        connect(child<QPushButton>(*this, button.designerName()), &QPushButton::clicked, this,
                [this, button] { session_->click(button); });
    }
    for (const MenuName entry : MenuName::all()) {
        entries_.emplace(entry, child<QAction>(*this, entry.designerName()));
        connect(entries_.at(entry), &QAction::triggered, this,
                [this, entry] { session_->choose(entry); });
    }
    Timer1.setObjectName("Timer1");
    Timer1.setInterval(kTimerIntervalMs);
    Timer1.setTimerType(Qt::PreciseTimer);
    connect(&Timer1, &QTimer::timeout, this, [this] { session_->timerExpired(); });
    ui->Text1->setFocus();
}

Form1::~Form1() = default;

void Form1::closeEvent(QCloseEvent* event) {
    session_->Form_Unload();
    event->accept();
}

std::string Form1::text(BoxName box) { return boxes_.at(box)->text().toStdString(); }

void Form1::setText(BoxName box, const std::string& text) {
    boxes_.at(box)->setText(QString::fromStdString(text));
}

void Form1::showFrame(FrameName frame) {
    child<QGroupBox>(*this, frame.designerName())->show();
    fitContent();
}

// The design size, widened to a revealed frame.
void Form1::fitContent() {
    ui->centralwidget->resize(
        ui->centralwidget->childrenRect().united(QRect(0, 0, kClientWidth, kClientHeight)).size());
}

bool Form1::timerEnabled() { return Timer1.isActive(); }

void Form1::setTimerEnabled(bool enabled) {
    // Starting a running QTimer would restart its interval.
    if (!enabled) {
        Timer1.stop();
    } else if (!Timer1.isActive()) {
        Timer1.start();
    }
}

void Form1::setChecked(MenuName menuEntry, bool checked) {
    entries_.at(menuEntry)->setChecked(checked);
}

void Form1::endDialogs() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(top); dialog != nullptr && dialog->isVisible()) {
            dialog->reject();
        }
    }
}

// Only the event loop of the program: exec() then returns.
void Form1::quit() { QCoreApplication::exit(0); }

void Form1::logFault(const std::string& text) { qCritical("%s", text.c_str()); }
