int dummy_proc;
