#pragma once
// Acts on the next modal window of a kind once it is up: for tests that run a real dialog.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

template <typename Dialog>
void WhenModal(std::function<void(Dialog&)> answer)
{
    // Each pending timer holds the poll; the poll itself holds only a weak reference, so it
    // goes with the last timer.
    auto poll = std::make_shared<std::function<void()>>();
    std::weak_ptr<std::function<void()>> self = poll;
    *poll = [self, answer = std::move(answer)] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog) {
            answer(*dialog);
        } else if (auto again = self.lock()) {
            QTimer::singleShot(10, [again] { (*again)(); });
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}
