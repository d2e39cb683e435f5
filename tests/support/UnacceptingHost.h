#pragma once
// A host on 127.0.0.1 that never takes a connection: its listener's queue is full, so the
// system drops further connection attempts unanswered and they wait until they give up.
class TUnacceptingHost {
public:
    TUnacceptingHost();
    ~TUnacceptingHost();
    TUnacceptingHost(const TUnacceptingHost&) = delete;
    TUnacceptingHost& operator=(const TUnacceptingHost&) = delete;

    int Port() const { return port_; }

private:
    int listener_ = -1;
    int fillers_[3] = {-1, -1, -1};
    int port_ = 0;
};
