#include "PicturePreview.h"

#include "Graphics.h"
#include "RegularFile.h"

#include <QLabel>
#include <QPixmap>
#include <QThreadPool>
#include <QVBoxLayout>

#include <mutex>

struct TPicturePreviewPane::Decoded {
    QImage image;  // already scaled to the pane
    int width = 0, height = 0;
};

// What a worker shares with the pane: the pane is cleared when it goes, under the lock, so a
// worker never posts to a pane that is gone.
struct TPicturePreviewPane::Shared {
    std::mutex lock;
    TPicturePreviewPane* pane = nullptr;
};

TPicturePreviewPane::TPicturePreviewPane(QWidget* parent)
    : QWidget(parent), shared_(std::make_shared<Shared>()), caption_(new QLabel), picture_(new QLabel)
{
    shared_->pane = this;
    auto* layout = new QVBoxLayout(this);
    caption_->setText("(None)");
    caption_->setAlignment(Qt::AlignCenter);
    picture_->setAlignment(Qt::AlignCenter);
    picture_->setFixedSize(kSide, kSide);
    picture_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(caption_);
    layout->addWidget(picture_);
    layout->addStretch();
}

TPicturePreviewPane::~TPicturePreviewPane()
{
    std::lock_guard guard(shared_->lock);
    shared_->pane = nullptr;
}

String TPicturePreviewPane::Caption() const { return caption_->text().toStdString(); }

void TPicturePreviewPane::ShowFile(const String& fileName)
{
    const int generation = ++generation_;
    ++pending_;
    QThreadPool::globalInstance()->start([shared = shared_, fileName, generation] {
        Decoded decoded;
        try {
            if (IsRegularFile(fileName) && TPicture::HasRegisteredExtension(fileName)) {
                TPicture picture;
                picture.LoadFromFile(fileName);
                decoded.width = picture.Width();
                decoded.height = picture.Height();
                QImage image = picture.Graphic() ? picture.Graphic()->ToImage() : QImage();
                // Larger pictures are scaled down to the pane; smaller ones keep their size.
                if (image.width() > kSide || image.height() > kSide)
                    image = image.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
                decoded.image = image;
            }
        } catch (const std::exception&) {
            decoded = {};
        }
        std::lock_guard guard(shared->lock);
        if (TPicturePreviewPane* pane = shared->pane)
            QMetaObject::invokeMethod(
                pane, [pane, generation, decoded] { pane->Present(generation, decoded); }, Qt::QueuedConnection);
    });
}

void TPicturePreviewPane::Present(int generation, const Decoded& decoded)
{
    --pending_;
    if (generation != generation_)
        return;
    shown_ = decoded.image;
    if (decoded.image.isNull()) {
        caption_->setText("(None)");
        picture_->clear();
        return;
    }
    caption_->setText(QString("(%1 x %2)").arg(decoded.width).arg(decoded.height));
    picture_->setPixmap(QPixmap::fromImage(decoded.image));
}
