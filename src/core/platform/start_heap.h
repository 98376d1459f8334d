#pragma once
// A start touches a few megabytes of fresh heap before its first frame: the widgets, the fonts
// and the window's backing image. Each 4 KiB page of it costs a fault, and in a virtual machine
// each fault is dear (about a tenth of the time to the first frame there). Called first in
// main(), this grows the heap once, by enough for the start, into a range the kernel may back
// with 2 MiB pages, and keeps blocks below 32 MiB in the heap so that the backing image lands
// there too. Where the kernel gives no large pages, the heap simply grows as before.
void prepareStartHeap();
// Once the first frame is drawn: the heap gives its free top back to the system as it did
// before, so that what a large list frees does not stay with the program.
void settleStartHeap();
