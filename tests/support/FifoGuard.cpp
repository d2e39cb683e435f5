#include "FifoGuard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <exception>
#include <fcntl.h>
#include <future>
#include <unistd.h>

void CallNotWaitingOn(const std::string& fifo, const std::function<void()>& call)
{
    std::future<void> done = std::async(std::launch::async, call);
    if (done.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "still waiting on the FIFO " << fifo;
        // Both ends at once never blocks; closing them gives the reader an end of file.
        while (done.wait_for(std::chrono::milliseconds(100)) == std::future_status::timeout) {
            int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        }
    }
    done.get();
}
