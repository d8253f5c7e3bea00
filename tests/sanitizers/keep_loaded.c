/* Preloaded into sanitized runs of programs that use OpenGL: makes dlclose() a no-op. glfwTerminate()
 * unloads the Mesa driver before LeakSanitizer looks, and the driver's own long-lived allocations,
 * whose roots lived in the unloaded library, then show up as leaks from "<unknown module>" that no
 * suppression can name. Keeping libraries loaded keeps those roots visible; real leaks still show. */
int dlclose(void* handle) {
    (void)handle;
    return 0;
}
