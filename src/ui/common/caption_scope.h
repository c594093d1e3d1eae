#pragma once

#include <QString>
#include <QWidget>

namespace ravinel {

// Shows a temporary caption until the block ends, also by an exception.
class CaptionScope {
  public:
    CaptionScope(QWidget* window, const QString& text)
        : window_(window), saved_(window->windowTitle()) {
        window_->setWindowTitle(text);
    }
    ~CaptionScope() { window_->setWindowTitle(saved_); }
    CaptionScope(const CaptionScope&) = delete;
    CaptionScope& operator=(const CaptionScope&) = delete;

  private:
    QWidget* window_;
    QString saved_;
};

}  // namespace ravinel
