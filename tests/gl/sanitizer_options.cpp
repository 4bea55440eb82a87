// AddressSanitizer options built into the GL tests.
//
// EGL loads Mesa's driver at run time, and the sanitizer runtime of GCC 12
// can lose track of the main thread's dynamic TLS blocks after that: its leak
// check at exit then scans a bogus range (seen: a block "at 0x8e7" of 96 GiB)
// and dies with "Tracer caught signal 11", or not, depending only on how the
// test binary happens to be laid out. Not intercepting __tls_get_addr keeps
// the check working; the leaks it looks for are in the heap, not in TLS.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
#endif
