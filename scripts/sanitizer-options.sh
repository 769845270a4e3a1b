# Sourced: how the sanitizers report, for scripts/test-sanitized.sh and bench/veldra-fuzz.
# Qt and the system's libraries are not instrumented; what they leak at exit is theirs
# (scripts/sanitizer-leaks.supp says which and why).
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_stack_use_after_return=1:check_initialization_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$here/sanitizer-leaks.supp:print_suppressions=0}
