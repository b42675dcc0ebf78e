import sys

from vorlin_reader.cli import main

sys.exit(main())
