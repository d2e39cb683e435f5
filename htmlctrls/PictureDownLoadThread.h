#pragma once
// The thread a mark-up picture starts for an address when Async is on. Pictures in mark-up are
// never downloaded, so its work is empty; the picture that started it stays busy.
#include "Threads.h"

class TMarkupPicture;

namespace PictureStore {

class TDownLoadThread : public TThread {
public:
    // Created running: it starts once it is whole.
    explicit TDownLoadThread(TMarkupPicture* picture) : TThread(true), picture_(picture) { Start(); }
    ~TDownLoadThread() override { WaitFor(); }
    TMarkupPicture* Picture() const { return picture_; }

protected:
    void Execute() override {}

private:
    TMarkupPicture* picture_;
};

}  // namespace PictureStore
