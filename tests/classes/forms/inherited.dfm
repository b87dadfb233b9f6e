inherited frmDerived: TDerivedForm
  Caption = 'Derived'
  inherited btnOk: TWidget
    Caption = 'Changed by the derived form'
  end
  object extra: TWidget [2]
    Caption = 'Added by the derived form'
  end
  inline frame1: TTestFrame [3]
    Left = 40
    inherited lblTitle: TWidget
      Caption = 'Set in the form'
    end
  end
end
