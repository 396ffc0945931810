#pragma once

// A program that stays open all day gives memory back to the system once it is freed: large
// blocks (a result's columns, an export's buffers) come from and go back to the system whole,
// and the threads that come and go for each piece of work share a few pools, instead of each
// pool keeping what its thread once held.
void returnFreedMemoryToTheSystem();
