// Runs a stretch of a test as an ordinary user, so that file permissions
// count: root reads and writes any file and any folder.  When the tests
// already run as an ordinary user it changes nothing.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

class ComoUsuarioComum {
public:
    // The user the stretch runs as (nobody), when the tests run as root.
    static constexpr uid_t kUsuario = 65534;
    static constexpr gid_t kGrupo = 65534;

    ComoUsuarioComum() : root_(::geteuid() == 0) {
        if (!root_) return;
        EXPECT_EQ(::setegid(kGrupo), 0);
        EXPECT_EQ(::seteuid(kUsuario), 0);
    }
    ~ComoUsuarioComum() {
        if (!root_) return;
        EXPECT_EQ(::seteuid(0), 0);
        EXPECT_EQ(::setegid(0), 0);
    }
    ComoUsuarioComum(const ComoUsuarioComum&) = delete;
    ComoUsuarioComum& operator=(const ComoUsuarioComum&) = delete;

    // Gives a file or folder (made by the test) to the ordinary user with
    // the given permission bits, before the stretch begins.
    static void entrega(const std::string& caminho, mode_t modo) {
        if (::geteuid() == 0) {
            EXPECT_EQ(::chown(caminho.c_str(), kUsuario, kGrupo), 0) << caminho;
        }
        EXPECT_EQ(::chmod(caminho.c_str(), modo), 0) << caminho;
    }

private:
    bool root_;
};
