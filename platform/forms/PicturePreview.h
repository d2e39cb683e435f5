#pragma once
// The picture preview pane of the open-picture dialog: the selected file drawn scaled to the
// pane with its size in pixels. Files are decoded on a worker thread, so a large or slow file
// never stalls the dialog; a selection that has moved on drops the older result.
#include "SysUtils.h"

#include <QImage>
#include <QWidget>

#include <memory>

class QLabel;

class TPicturePreviewPane : public QWidget {
public:
    explicit TPicturePreviewPane(QWidget* parent = nullptr);
    ~TPicturePreviewPane() override;
    // Starts showing the file; anything that is no picture the registry can load shows "(None)".
    void ShowFile(const String& fileName);
    // What the pane shows: "(width x height)" or "(None)", and the scaled picture.
    String Caption() const;
    QImage Shown() const { return shown_; }
    // True while a file is being decoded.
    bool Busy() const { return pending_ != 0; }

    static constexpr int kSide = 200;

private:
    struct Decoded;
    struct Shared;
    void Present(int generation, const Decoded& decoded);
    std::shared_ptr<Shared> shared_;
    QLabel* caption_;
    QLabel* picture_;
    QImage shown_;
    int generation_ = 0;
    int pending_ = 0;
};
