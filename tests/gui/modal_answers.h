// Answers a real modal box or dialog in a test: polls until one of the wanted kind
// is the active modal widget, then hands it to the answer, which must close it.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

namespace mirudana::testing {

template <typename Modal>
void whenShown(std::function<void(Modal*)> answer) {
    auto* poll = new QTimer;
    poll->setInterval(0);
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        auto* modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        answer(modal);
    });
    poll->start();
}

}  // namespace mirudana::testing
