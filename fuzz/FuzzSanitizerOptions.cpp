// Sanitizer settings of every fuzz target, also when an input is replayed by hand.
//
// HDF5 reads sizes from a damaged file and asks malloc for them (21 GiB, 256 TiB); it handles
// the null pointer, so malloc returns one above 2 GiB instead of stopping the run, as a machine
// without that memory would (ASan would otherwise write 1/8 of the size as shadow memory and
// take the run past its memory limit). After such a failure HDF5 itself
// loses a few bytes of its own bookkeeping, which the leak check is told to pass over; the
// readers close every identifier they open (hdf5_util::Id), which the normal suite checks
// under the asan preset without this suppression.

extern "C" const char* __asan_default_options() {
    return "allocator_may_return_null=1:max_allocation_size_mb=2048";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libhdf5_serial\n";
}
