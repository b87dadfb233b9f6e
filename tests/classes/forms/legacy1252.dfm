object frmOld: TTestForm
  Caption = 'Grüße € café'
end
