// Leak checking under AddressSanitizer. Creating an OpenGL context makes the Mesa driver keep
// allocations for the life of the process; they are not ours. The driver has no frame
// pointers, so stacks are unwound fully at each allocation, which lets those leaks be told
// apart by the window call that made them while every other leak still fails the test.
#if defined(__SANITIZE_ADDRESS__)

extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:Varn::Window::Create\n";
}

#endif
