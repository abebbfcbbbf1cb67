// A full disk without root: while a DiscoCheio lives, no file of this
// process may grow past `limite` bytes.  A write beyond it is refused with
// EFBIG (SIGXFSZ ignored), the bytes up to it go through, as on a disk that
// fills up during the write.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

class DiscoCheio {
public:
    explicit DiscoCheio(rlim_t limite = 0) {
        getrlimit(RLIMIT_FSIZE, &antes_);
        sinal_ = signal(SIGXFSZ, SIG_IGN);
        rlimit cheio = antes_;
        cheio.rlim_cur = limite;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &cheio), 0);
    }
    ~DiscoCheio() {
        setrlimit(RLIMIT_FSIZE, &antes_);
        signal(SIGXFSZ, sinal_);
    }
    DiscoCheio(const DiscoCheio&) = delete;
    DiscoCheio& operator=(const DiscoCheio&) = delete;

private:
    rlimit antes_{};
    void (*sinal_)(int) = nullptr;
};
