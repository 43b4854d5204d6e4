// The sanitizer defaults of the test and fuzz programs, under whatever ASAN_OPTIONS adds.
//
// The leak check scans the dynamic TLS blocks of every thread, which it learns of by
// intercepting __tls_get_addr. Under this glibc (2.36) the runtime of clang 14 takes a block that
// malloc placed 16 bytes into a page for one of the old glibc layout, reads a made-up start and
// size from the bytes before it, and crashes at exit; whether a program meets that depends on
// where its blocks happen to land. Without the interception those blocks go unscanned: the only
// libraries with dynamic TLS are Mesa's, which the tests keep loaded (platform/headless_sdl.h)
// and whose allocations stay reachable from their own data.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "intercept_tls_get_addr=0";
}
#endif
#endif
