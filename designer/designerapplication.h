#pragma once

#include <QApplication>

// The designer's application object. Every edit catches its own errors; this is the last line
// behind them: an exception that escapes an event handler is reported and the designer keeps
// running, with the work that is open.
class DesignerApplication : public QApplication
{
    Q_OBJECT

public:
    DesignerApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void report(const QString &what);
};
