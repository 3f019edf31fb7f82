#pragma once

// Lets the window system deliver what is queued for this thread, and returns
// once the queue is empty.
void pumpMessages();
