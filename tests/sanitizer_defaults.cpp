// Defaults of AddressSanitizer for every test program (ASAN_OPTIONS may still override them).
//
// intercept_tls_get_addr=0: the leak check's record of dynamic TLS guesses a block's bounds from
// a header that glibc wrote when it took such blocks from memalign; glibc now takes them from
// malloc, and a block that happens to start 16 bytes into a page (Mesa's, loaded at run time)
// is read with a made-up size, which crashes the check at exit. Such blocks are heap blocks
// reachable from the thread's DTV, so the check finds what they point to without the record.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" const char* __asan_default_options() {
  return "intercept_tls_get_addr=0";
}
#endif
#endif
