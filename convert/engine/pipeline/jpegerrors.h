#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg reports an error by calling error_exit, which must not return: it
// jumps back to where the caller set `jump` up with setjmp. Warnings are
// dropped. Only objects without destructors may be created between that
// setjmp and the libjpeg calls.
struct JpegErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;

    template<typename Info>
    void attach(Info &info)
    {
        info.err = jpeg_std_error(&base);
        base.error_exit = [](j_common_ptr common) {
            std::longjmp(reinterpret_cast<JpegErrors *>(common->err)->jump, 1);
        };
        base.output_message = [](j_common_ptr) {};
    }
};
