object QzLED1: TQzLED
  Left = 4
  Top = 4
  Width = 11
  Height = 11
  Color = clBtnFace
  Enabled = False
  LEDColor = lcTeal
  LEDSize = lzLarge
  LEDState = lsOn
end
