#pragma once
// The application object: exceptions cannot cross Qt's event loop, so every event is delivered
// inside a try block and whatever escapes a handler goes to the error capture.

#include <QApplication>

class TKovraApplication : public QApplication {
    Q_OBJECT
public:
    TKovraApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
