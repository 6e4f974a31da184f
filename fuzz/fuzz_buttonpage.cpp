// The Button property page's apply with any field contents, on a LumoButton in a window that is
// being designed. The input is: one byte for the check boxes (its value modulo 3 for Value, the
// value divided by 3, modulo 3, for Switch: unchecked, checked or partly checked), one byte
// choosing the pointer entry (0 none, 1 the first), then the texts of Alignment, Delta, Caption
// and the tool tip, one per line, the last taking the rest.
//  - The apply succeeds or throws RuntimeError with a number that the failing property can
//    raise; nothing else escapes.
//  - The properties are written in the page's order; the first failing write ends the apply,
//    and neither it nor any property after it changes.
//  - What was written is what the fields held, and loading the page again shows the control's
//    values without error.

#include "buttonpage.h"
#include "conversions.h"
#include "lumobutton.h"
#include "runtimeerror.h"
#include "usercontrol.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QStringList ApplyOrder = {"Value",   "Switch",       "Alignment",  "Delta",
                                "Caption", "MousePointer", "ToolTipText"};

struct Snapshot
{
    bool value, on;
    qint16 alignment, delta, pointer;
    QString caption, tip;

    static Snapshot of(const LumoButton &b)
    {
        return {b.Value(),        b.Switch(),  b.Alignment(),  b.Delta(),
                b.MousePointer(), b.Caption(), b.ToolTipText()};
    }

    // Whether the named property has the same value in both.
    bool same(const Snapshot &other, const QString &property) const
    {
        if (property == u"Value")
            return value == other.value;
        if (property == u"Switch")
            return on == other.on;
        if (property == u"Alignment")
            return alignment == other.alignment;
        if (property == u"Delta")
            return delta == other.delta;
        if (property == u"Caption")
            return caption == other.caption;
        if (property == u"MousePointer")
            return pointer == other.pointer;
        return tip == other.tip;
    }
};

// Every input starts from these values; a write that leaves a value as it was still shows
// among the recorded changes.
const Snapshot Baseline = {
    false, false, 7, 45, 3, QStringLiteral("baseline caption"), QStringLiteral("baseline tip")};

struct Harness
{
    QWidget window;
    LumoButton *button;
    ButtonPage page;
    QCheckBox *chkValue, *chkSwitch;
    QComboBox *cboMouse;
    QLineEdit *txtAlignment, *txtDelta, *txtCaption, *txtToolTip;
    QStringList written;

    Harness()
    {
        window.setProperty(forms::UserControl::UserModeProperty, false);
        button = new LumoButton(&window);
        button->InitProperties();
        page.setSelectedControls({button});
        chkValue = page.findChild<QCheckBox *>(QStringLiteral("chkValue"));
        chkSwitch = page.findChild<QCheckBox *>(QStringLiteral("chkSwitch"));
        cboMouse = page.findChild<QComboBox *>(QStringLiteral("cboMouse"));
        txtAlignment = page.findChild<QLineEdit *>(QStringLiteral("txtAlignment"));
        txtDelta = page.findChild<QLineEdit *>(QStringLiteral("txtDelta"));
        txtCaption = page.findChild<QLineEdit *>(QStringLiteral("txtCaption"));
        txtToolTip = page.findChild<QLineEdit *>(QStringLiteral("txtToolTopText"));
        if (!chkValue || !chkSwitch || !cboMouse || !txtAlignment || !txtDelta || !txtCaption ||
            !txtToolTip) {
            std::fprintf(stderr, "the Button page lacks a field\n");
            std::abort();
        }
        QObject::connect(button, &forms::UserControl::propertyChanged,
                         [this](const QString &name) { written.append(name); });
    }

    void reset()
    {
        button->setValue(Baseline.value);
        button->setSwitch(Baseline.on);
        button->setAlignment(Baseline.alignment);
        button->setDelta(Baseline.delta);
        button->setCaption(Baseline.caption);
        button->setMousePointer(Baseline.pointer);
        button->setToolTipText(Baseline.tip);
        written.clear();
    }
};

Harness *harness = nullptr;

[[noreturn]] void fail(const QString &what)
{
    const Harness &h = *harness;
    std::fprintf(stderr,
                 "%s\nfields: Value %d, Switch %d, pointer entry %d, Alignment \"%s\", Delta "
                 "\"%s\", Caption \"%s\", tool tip \"%s\"\nwritten: %s\n",
                 qPrintable(what), int(h.chkValue->checkState()), int(h.chkSwitch->checkState()),
                 h.cboMouse->currentIndex(), qPrintable(h.txtAlignment->text()),
                 qPrintable(h.txtDelta->text()), qPrintable(h.txtCaption->text()),
                 qPrintable(h.txtToolTip->text()), qPrintable(h.written.join(u',')));
    std::abort();
}

// Whether the property, written from the page's fields, holds what the fields held.
bool holdsField(const Harness &h, const QString &property)
{
    const LumoButton &b = *h.button;
    if (property == u"Value")
        return b.Value() == (h.chkValue->checkState() == Qt::Checked);
    if (property == u"Switch")
        return b.Switch() == (h.chkSwitch->checkState() == Qt::Checked);
    if (property == u"Alignment")
        return b.Alignment() == forms::toInteger(h.txtAlignment->text());
    if (property == u"Delta")
        return b.Delta() == forms::toInteger(h.txtDelta->text());
    if (property == u"Caption")
        return b.Caption() == h.txtCaption->text();
    if (property == u"MousePointer")
        return b.MousePointer() == h.cboMouse->currentData().toInt();
    return b.ToolTipText() == h.txtToolTip->text();
}

// The error numbers a write of the property may raise.
bool mayRaise(const QString &property, int number)
{
    if (property == u"Alignment" || property == u"Delta")
        return number == forms::Overflow || number == forms::TypeMismatch;
    if (property == u"MousePointer")
        return number == forms::InvalidPropertyValue || number == 381;
    return false;
}

} // namespace

// One application, window and page for the whole run; each input starts from the same baseline.
// The application gets no command line of its own: libFuzzer's options are not for it.
extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's warnings about odd input would bury libFuzzer's own report.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    static int argc = 1;
    static char name[] = "fuzz_buttonpage";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);
    static Harness instance;
    harness = &instance;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    Harness &h = *harness;
    h.reset();
    const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    h.chkValue->setCheckState(states[data[0] % 3]);
    h.chkSwitch->setCheckState(states[data[0] / 3 % 3]);
    h.cboMouse->setCurrentIndex(int(data[1] % (h.cboMouse->count() + 1)) - 1);
    const QString rest =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const QStringList lines = rest.split(u'\n');
    QLineEdit *const fields[] = {h.txtAlignment, h.txtDelta, h.txtCaption, h.txtToolTip};
    for (int i = 0; i < 4; ++i) {
        const QString text = i < 3 ? lines.value(i) : lines.mid(3).join(u'\n');
        fields[i]->setText(text);
    }

    int error = 0;
    try {
        h.page.ApplyChanges();
    } catch (const forms::RuntimeError &failure) {
        error = failure.number();
    }

    const qsizetype count = h.written.size();
    if (count > ApplyOrder.size() || h.written != ApplyOrder.mid(0, count))
        fail(QStringLiteral("written out of order"));
    if (error == 0 && count != ApplyOrder.size())
        fail(QStringLiteral("the apply succeeded but did not write everything"));
    if (error != 0 && count == ApplyOrder.size())
        fail(QStringLiteral("error %1 after everything was written").arg(error));
    if (error != 0 && !mayRaise(ApplyOrder[count], error))
        fail(QStringLiteral("%1 failed with error %2").arg(ApplyOrder[count]).arg(error));
    const Snapshot now = Snapshot::of(*h.button);
    for (qsizetype i = 0; i < ApplyOrder.size(); ++i) {
        const QString &property = ApplyOrder[i];
        if (i < count && !holdsField(h, property))
            fail(property + QStringLiteral(" does not hold what its field held"));
        if (i >= count && !now.same(Baseline, property))
            fail(property + QStringLiteral(" changed, but the apply ended before it"));
    }

    try {
        h.page.SelectionChanged();
    } catch (const forms::RuntimeError &failure) {
        fail(QStringLiteral("loading the page again fails with error %1").arg(failure.number()));
    }
    if (h.chkValue->checkState() != (now.value ? Qt::Checked : Qt::Unchecked) ||
        h.chkSwitch->checkState() != (now.on ? Qt::Checked : Qt::Unchecked) ||
        h.txtAlignment->text() != QString::number(now.alignment) ||
        h.txtDelta->text() != QString::number(now.delta) || h.txtCaption->text() != now.caption ||
        h.cboMouse->currentData().toInt() != now.pointer || h.txtToolTip->text() != now.tip)
        fail(QStringLiteral("the page loaded again does not show the control's values"));
    return 0;
}
