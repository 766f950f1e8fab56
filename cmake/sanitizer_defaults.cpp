// The sanitizers' options for every program of a KURUBAKO_SANITIZE build; the environment
// variables ASAN_OPTIONS and UBSAN_OPTIONS are read after these and override them.

extern "C" {

__attribute__((visibility("default"), used)) const char *__asan_default_options()
{
    return "halt_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1";
}

__attribute__((visibility("default"), used)) const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1";
}

} // extern "C"
